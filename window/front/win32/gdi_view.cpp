// gdi_view.cpp: the drawing's primitives, each with its GDI call.
#include "gdi_view.h"

#include "japanese_font.h"
#include "utf16.h"

#include <algorithm>
#include <cmath>

namespace front::win32 {

using forms::blue;
using forms::green;
using forms::red;

namespace {

// A COLORREF is the model's 0x00BBGGRR; a DIB pixel is 0x00RRGGBB.
std::uint32_t dibPixel(Colour colour) {
    return static_cast<std::uint32_t>(blue(colour) | (green(colour) << 8) | (red(colour) << 16));
}

} // namespace

GdiView::GdiView(const Form& form, const TextMetrics& metrics, Pictures& pictures)
    : m_form(form), m_metrics(metrics), m_pictures(pictures) {}

GdiView::~GdiView() {
    for (auto& [key, font] : m_fonts) {
        DeleteObject(font);
    }
    if (m_buffer != nullptr) {
        SelectObject(m_buffer, m_previousBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_buffer);
    }
}

void GdiView::ensureBuffer(int width, int height) {
    if (m_buffer != nullptr && width == m_width && height == m_height) {
        return;
    }
    if (m_buffer == nullptr) {
        m_buffer = CreateCompatibleDC(nullptr);
    } else {
        SelectObject(m_buffer, m_previousBitmap);
        DeleteObject(m_bitmap);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row y starts at y * width
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<std::uint32_t*>(bits);
    m_previousBitmap = SelectObject(m_buffer, m_bitmap);
    m_width = width;
    m_height = height;
}

bool GdiView::setGround(Colour colour) {
    if (colour == m_ground) {
        return false;
    }
    m_ground = colour;
    return true;
}

void GdiView::paint(HDC target, double ratio) {
    const drawing::Frame frame = drawing::drawFrame(m_form, m_metrics, ratio, {}, m_ground);
    ensureBuffer(frame.width, frame.height);
    if (m_bits == nullptr) {
        return;
    }
    for (const drawing::Primitive& primitive : frame.primitives) {
        rasterise(primitive);
    }
    GdiFlush();
    BitBlt(target, 0, 0, frame.width, frame.height, m_buffer, 0, 0, SRCCOPY);
}

void GdiView::rasterise(const drawing::Primitive& primitive) {
    std::visit(
        [this](const auto& p) {
            using Kind = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<Kind, drawing::FillRect>) {
                fill(p);
            } else if constexpr (std::is_same_v<Kind, drawing::Hairline>) {
                hairline(p);
            } else if constexpr (std::is_same_v<Kind, drawing::WideLine>) {
                wideLine(p);
            } else if constexpr (std::is_same_v<Kind, drawing::RoundedRect>) {
                roundedRect(p);
            } else if constexpr (std::is_same_v<Kind, drawing::Picture>) {
                picture(p);
            } else {
                text(p);
            }
        },
        primitive);
}

void GdiView::fill(const drawing::FillRect& fill) {
    const RECT area{fill.rect.left, fill.rect.top, fill.rect.left + fill.rect.width,
                    fill.rect.top + fill.rect.height};
    SetDCBrushColor(m_buffer, fill.colour);
    FillRect(m_buffer, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiView::hairline(const drawing::Hairline& line) {
    HGDIOBJ previous = SelectObject(m_buffer, GetStockObject(DC_PEN));
    SetDCPenColor(m_buffer, line.colour);
    MoveToEx(m_buffer, line.from.x, line.from.y, nullptr);
    LineTo(m_buffer, line.to.x, line.to.y);
    // LineTo leaves out the last pixel; the line includes both of its ends.
    SetPixelV(m_buffer, line.to.x, line.to.y, line.colour);
    SelectObject(m_buffer, previous);
}

// GDI's geometric pens take whole-pixel end points, while a wide line's ends
// sit on pixel centres or edges; so its pixels, those whose centres lie
// within half its width of the segment, go straight into the back buffer.
void GdiView::wideLine(const drawing::WideLine& line) {
    GdiFlush();
    const std::uint32_t pixel = dibPixel(line.colour);
    for (const drawing::DevicePixel& at : drawing::pixelsOf(line)) {
        if (at.x >= 0 && at.x < m_width && at.y >= 0 && at.y < m_height) {
            m_bits[static_cast<size_t>(at.y) * static_cast<size_t>(m_width) +
                   static_cast<size_t>(at.x)] = pixel;
        }
    }
}

void GdiView::roundedRect(const drawing::RoundedRect& shape) {
    const int diameter = static_cast<int>(std::lround(shape.radius * 2));
    const drawing::DeviceRect& r = shape.rect;
    HGDIOBJ previousPen = SelectObject(m_buffer, GetStockObject(shape.outline ? DC_PEN : NULL_PEN));
    HGDIOBJ previousBrush =
        SelectObject(m_buffer, GetStockObject(shape.fill ? DC_BRUSH : NULL_BRUSH));
    if (shape.outline) {
        SetDCPenColor(m_buffer, *shape.outline);
    }
    if (shape.fill) {
        SetDCBrushColor(m_buffer, *shape.fill);
    }
    // With a pen, RoundRect's outline runs along the rectangle's outermost
    // pixels; without one, the fill stops a pixel short of the right and bottom.
    const int past = shape.outline ? 1 : 2;
    RoundRect(m_buffer, r.left, r.top, r.left + r.width - 1 + past, r.top + r.height - 1 + past,
              diameter, diameter);
    SelectObject(m_buffer, previousBrush);
    SelectObject(m_buffer, previousPen);
}

void GdiView::picture(const drawing::Picture& picture) {
    const DevicePicture* scaled =
        m_pictures.at(picture.name, picture.rect.width, picture.rect.height, picture.smooth);
    if (scaled == nullptr) {
        return;
    }
    HDC source = CreateCompatibleDC(m_buffer);
    HGDIOBJ previous = SelectObject(source, scaled->bitmap);
    const BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(m_buffer, picture.rect.left, picture.rect.top, scaled->width, scaled->height, source,
               0, 0, scaled->width, scaled->height, over);
    SelectObject(source, previous);
    DeleteDC(source);
}

void GdiView::text(const drawing::TextRun& run) {
    const std::wstring wide = toWide(run.text);
    HGDIOBJ previous =
        SelectObject(m_buffer, font(static_cast<int>(std::lround(run.emPixels)), run.bold));
    SetBkMode(m_buffer, TRANSPARENT);
    SetTextColor(m_buffer, run.colour);
    SetTextAlign(m_buffer, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    ExtTextOutW(m_buffer, static_cast<int>(std::lround(run.origin.x)),
                static_cast<int>(std::lround(run.origin.y)), 0, nullptr, wide.c_str(),
                static_cast<UINT>(wide.size()), nullptr);
    SelectObject(m_buffer, previous);
}

HFONT GdiView::font(int emPixels, bool bold) {
    HFONT& found = m_fonts[{emPixels, bold}];
    if (found == nullptr) {
        found = createFormFont(emPixels, bold);
    }
    return found;
}

} // namespace front::win32
