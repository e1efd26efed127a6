// pictures.h: the embedded word picture and portrait, decoded with WIC and
// scaled once for each size the frame asks for.
#pragma once

#include <wincodec.h>
#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace front::win32 {

// A picture ready for AlphaBlend: a 32-bit top-down DIB section with
// premultiplied alpha, so the GIF's transparent colour lets the ground show.
struct DevicePicture {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
};

class Pictures {
public:
    // COM must be initialised on this thread.
    Pictures();
    ~Pictures();
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    // Whether the picture is in the program and decodes.
    bool decodes(const std::string& name) { return decoded(name) != nullptr; }

    // `name` at exactly width x height device pixels: filtered (Fant) when
    // `smooth`, else each pixel its nearest picture pixel. Null when the
    // picture does not decode.
    const DevicePicture* at(const std::string& name, int width, int height, bool smooth);

private:
    IWICBitmapSource* decoded(const std::string& name);

    IWICImagingFactory* m_factory = nullptr;
    std::map<std::string, IWICBitmapSource*> m_decoded;
    std::map<std::tuple<std::string, int, int, bool>, DevicePicture> m_scaled;
};

} // namespace front::win32
