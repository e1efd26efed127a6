// gdi_text_metrics.cpp: auto-sized labels measured with GetTextExtentPoint32W at
// the layout's own pixels (96 dots to the inch), as the model's sizes are.
#include "gdi_text_metrics.h"

#include "japanese_font.h"
#include "utf16.h"

namespace front::win32 {

using forms::fontPixels;

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

double GdiTextMetrics::advance(std::string_view line, float points, bool bold) const {
    const std::wstring wide = toWide(line);
    SIZE size{};
    GetTextExtentPoint32W(select(points, bold), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

FontExtent GdiTextMetrics::fontExtent(float points, bool bold) const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(select(points, bold), &metrics);
    return {static_cast<double>(metrics.tmAscent), static_cast<double>(metrics.tmDescent)};
}

} // namespace front::win32
