// text_metrics.cpp: the plain gothic measure of a caption.
#include "text_metrics.h"

#include "utf8.h"

#include <algorithm>

namespace forms {

namespace {

// A gothic face's baseline lies about seven eighths of the em down.
constexpr double kGothicAscent = 7.0 / 8.0;

bool isFullWidth(char32_t c) {
    const bool halfWidthKana = c >= 0xFF61 && c <= 0xFF9F;
    return c >= 0x2000 && !halfWidthKana;
}

} // namespace

TextExtent GothicTextMetrics::measure(std::string_view caption, float points, bool) const {
    const int em = fontPixels(points);
    int widest = 0;
    int lines = 0;
    for (std::string_view line : splitLines(caption)) {
        int halfEms = 0;
        for (char32_t c : decodeUtf8(line)) {
            halfEms += isFullWidth(c) ? 2 : 1;
        }
        widest = std::max(widest, halfEms * em / 2);
        ++lines;
    }
    return {toTwips(widest), toTwips(lines * em)};
}

FontExtent GothicTextMetrics::fontExtent(float points, bool) const {
    const double em = fontPixels(points);
    return {em * kGothicAscent, em * (1 - kGothicAscent)};
}

} // namespace forms
