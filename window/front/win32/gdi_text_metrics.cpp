// gdi_text_metrics.cpp: auto-sized labels measured with GetTextExtentPoint32W at
// the layout's own pixels (96 dots to the inch), as the model's sizes are.
#include "gdi_text_metrics.h"

#include "japanese_font.h"
#include "utf16.h"
#include "utf8.h"

#include <algorithm>

namespace front::win32 {

GdiTextMetrics::GdiTextMetrics() : m_dc(CreateCompatibleDC(nullptr)) {}

GdiTextMetrics::~GdiTextMetrics() {
    if (m_original != nullptr) {
        SelectObject(m_dc, m_original);
    }
    for (auto& [key, font] : m_fonts) {
        DeleteObject(font);
    }
    DeleteDC(m_dc);
}

HDC GdiTextMetrics::select(float points, bool bold) const {
    const int em = fontPixels(points);
    HFONT& font = m_fonts[{em, bold}];
    if (font == nullptr) {
        font = createFormFont(em, bold);
    }
    HGDIOBJ previous = SelectObject(m_dc, font);
    if (m_original == nullptr) {
        m_original = previous;
    }
    return m_dc;
}

TextExtent GdiTextMetrics::measure(std::string_view caption, float points, bool bold) const {
    HDC dc = select(points, bold);
    int widest = 0;
    int lines = 0;
    for (std::string_view line : splitLines(caption)) {
        const std::wstring wide = toWide(line);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
        ++lines;
    }
    // A line is one em high, as in the runtime's default font.
    return {toTwips(widest), toTwips(lines * fontPixels(points))};
}

FontExtent GdiTextMetrics::fontExtent(float points, bool bold) const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(select(points, bold), &metrics);
    return {static_cast<double>(metrics.tmAscent), static_cast<double>(metrics.tmDescent)};
}

} // namespace front::win32
