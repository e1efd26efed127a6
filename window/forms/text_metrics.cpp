// text_metrics.cpp: the plain gothic measure of a caption.
#include "text_metrics.h"

#include "utf8.h"

#include <algorithm>

namespace forms {

namespace {

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

} // namespace forms
