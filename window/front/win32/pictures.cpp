// pictures.cpp: decoding the embedded GIF and JPEG with the Windows Imaging
// Component, which every Windows since Vista (and Wine) carries and which
// hands both formats, the GIF's transparency included, over as premultiplied
// 32-bit pixels that GDI's AlphaBlend draws as they are.
#include "pictures.h"

#include "form1.h"
#include "resource_ids.h"

#include <cstring>

namespace front::win32 {

namespace {

template <typename T>
void release(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

int resourceOf(const std::string& name) {
    if (name == forms::kWordPicture) {
        return YOPO_RES_WORD_PICTURE;
    }
    if (name == forms::kPortrait) {
        return YOPO_RES_PORTRAIT;
    }
    return 0;
}

} // namespace

Pictures::Pictures() {
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(&m_factory));
}

Pictures::~Pictures() {
    for (auto& [key, picture] : m_scaled) {
        DeleteObject(picture.bitmap);
    }
    for (auto& [name, source] : m_decoded) {
        release(source);
    }
    release(m_factory);
}

IWICBitmapSource* Pictures::decoded(const std::string& name) {
    const auto found = m_decoded.find(name);
    if (found != m_decoded.end()) {
        return found->second;
    }
    IWICBitmapSource*& result = m_decoded[name];
    const int id = resourceOf(name);
    HRSRC resource = id != 0 ? FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_RCDATA) : nullptr;
    HGLOBAL loaded = resource != nullptr ? LoadResource(nullptr, resource) : nullptr;
    auto* bytes = static_cast<BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (m_factory == nullptr || bytes == nullptr) {
        return result;
    }
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    IWICBitmap* bitmap = nullptr;
    const bool ok =
        SUCCEEDED(m_factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(bytes, SizeofResource(nullptr, resource))) &&
        SUCCEEDED(m_factory->CreateDecoderFromStream(stream, nullptr,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(m_factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        // Decoded once, into memory: the stream over the resource may go.
        SUCCEEDED(m_factory->CreateBitmapFromSource(converter, WICBitmapCacheOnLoad, &bitmap));
    release(converter);
    release(frame);
    release(decoder);
    release(stream);
    if (ok) {
        result = bitmap;
    } else {
        release(bitmap);
    }
    return result;
}

const DevicePicture* Pictures::at(const std::string& name, int width, int height, bool smooth) {
    const auto key = std::make_tuple(name, width, height, smooth);
    if (const auto found = m_scaled.find(key); found != m_scaled.end()) {
        return &found->second;
    }
    IWICBitmapSource* source = decoded(name);
    if (source == nullptr || width <= 0 || height <= 0) {
        return nullptr;
    }
    IWICBitmapScaler* scaler = nullptr;
    if (FAILED(m_factory->CreateBitmapScaler(&scaler)) ||
        FAILED(scaler->Initialize(source, static_cast<UINT>(width), static_cast<UINT>(height),
                                  smooth ? WICBitmapInterpolationModeFant
                                         : WICBitmapInterpolationModeNearestNeighbor))) {
        release(scaler);
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as WIC lays rows out
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const UINT stride = static_cast<UINT>(width) * 4;
    const bool copied =
        bitmap != nullptr &&
        SUCCEEDED(scaler->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height),
                                     static_cast<BYTE*>(bits)));
    release(scaler);
    if (!copied) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        return nullptr;
    }
    return &(m_scaled[key] = DevicePicture{bitmap, width, height});
}

} // namespace front::win32
