// web_text_metrics.cpp: widths from the canvas, extents from the face.
#include "web_text_metrics.h"

#include "page.h"

#include <cmath>

namespace front::web {

using forms::fontPixels;

namespace {

// The Linux build's font engine keeps a face's measures in 64ths of a pixel.
double inSixtyFourths(double pixels) {
    return std::round(pixels * 64) / 64;
}

} // namespace

double WebTextMetrics::advance(std::string_view line, float points, bool bold) const {
    return page::advance(line, fontPixels(points), bold);
}

FontExtent WebTextMetrics::fontExtent(float points, bool) const {
    const int em = fontPixels(points);
    return {inSixtyFourths(m_ascent * em), inSixtyFourths(m_descent * em)};
}

} // namespace front::web
