// web_text_metrics.h: captions measured as the page's canvas draws them.
#pragma once

#include "text_metrics.h"

namespace front::web {

using forms::FontExtent;
using forms::TextMetrics;

// Widths come from the canvas, in the game's own face. Where the baseline
// falls does not: a browser rounds the face's ascent and descent to whole
// pixels, so the page hands over the face's own, as fractions of its em,
// read from its tables as the Linux build's Qt reads them.
class WebTextMetrics : public TextMetrics {
public:
    WebTextMetrics(double ascent, double descent) : m_ascent(ascent), m_descent(descent) {}

    double advance(std::string_view line, float points, bool bold) const override;
    FontExtent fontExtent(float points, bool bold) const override;

private:
    double m_ascent;
    double m_descent;
};

} // namespace front::web
