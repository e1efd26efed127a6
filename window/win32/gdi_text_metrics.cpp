// gdi_text_metrics.cpp: auto-sized labels measured with GetTextExtentPoint32W at
// the layout's own pixels (96 dots to the inch), as the model's sizes are.
#include "gdi_text_metrics.h"

#include "japanese_font.h"
#include "utf16.h"
#include "utf8.h"

#include <windows.h>

#include <algorithm>

namespace forms {

namespace {

// A screen-compatible memory DC with the form's font at `points` selected,
// released when it goes.
class MeasuringDc {
public:
    MeasuringDc(float points, bool bold)
        : m_dc(CreateCompatibleDC(nullptr)), m_font(createFormFont(fontPixels(points), bold)),
          m_previous(SelectObject(m_dc, m_font)) {}
    ~MeasuringDc() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_font);
        DeleteDC(m_dc);
    }
    MeasuringDc(const MeasuringDc&) = delete;
    MeasuringDc& operator=(const MeasuringDc&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

} // namespace

TextExtent GdiTextMetrics::measure(std::string_view caption, float points, bool bold) const {
    const MeasuringDc measuring(points, bold);
    int widest = 0;
    int lines = 0;
    for (std::string_view line : splitLines(caption)) {
        const std::wstring wide = toWide(line);
        SIZE size{};
        GetTextExtentPoint32W(measuring.dc(), wide.c_str(), static_cast<int>(wide.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
        ++lines;
    }
    // A line is one em high, as in the runtime's default font.
    return {toTwips(widest), toTwips(lines * fontPixels(points))};
}

FontExtent GdiTextMetrics::fontExtent(float points, bool bold) const {
    const MeasuringDc measuring(points, bold);
    TEXTMETRICW metrics{};
    GetTextMetricsW(measuring.dc(), &metrics);
    return {static_cast<double>(metrics.tmAscent), static_cast<double>(metrics.tmDescent)};
}

} // namespace forms
