// text_metrics.cpp: the plain gothic measure of a caption.
#include "text_metrics.h"

#include "utf8.h"

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// A gothic face's baseline lies about seven eighths of the em down.
constexpr double kGothicAscent = 7.0 / 8.0;

bool isFullWidth(char32_t c) {
    const bool halfWidthKana = c >= 0xFF61 && c <= 0xFF9F;
    return c >= 0x2000 && !halfWidthKana;
}

} // namespace

TextExtent TextMetrics::measure(std::string_view caption, float points, bool bold) const {
    double widest = 0;
    int lines = 0;
    for (std::string_view line : splitLines(caption)) {
        widest = std::max(widest, advance(line, points, bold));
        ++lines;
    }
    return {toTwips(static_cast<int>(std::ceil(widest))), toTwips(lines * fontPixels(points))};
}

double GothicTextMetrics::advance(std::string_view line, float points, bool) const {
    int halfEms = 0;
    for (char32_t c : decodeUtf8(line)) {
        halfEms += isFullWidth(c) ? 2 : 1;
    }
    return halfEms * fontPixels(points) / 2.0;
}

FontExtent GothicTextMetrics::fontExtent(float points, bool) const {
    const double em = fontPixels(points);
    return {em * kGothicAscent, em * (1 - kGothicAscent)};
}

} // namespace forms
