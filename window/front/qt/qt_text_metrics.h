// qt_text_metrics.h: captions measured in the font the view draws them in.
#pragma once

#include "text_metrics.h"

namespace front::qt {

using forms::FontExtent;
using forms::TextMetrics;

class QtTextMetrics : public TextMetrics {
public:
    double advance(std::string_view line, float points, bool bold) const override;
    FontExtent fontExtent(float points, bool bold) const override;
};

} // namespace front::qt
