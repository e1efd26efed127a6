// gdi_text_metrics.h: captions measured with GDI in the font the view draws them in.
#pragma once

#include "text_metrics.h"

namespace forms {

class GdiTextMetrics : public TextMetrics {
public:
    TextExtent measure(std::string_view caption, float points, bool bold) const override;
    FontExtent fontExtent(float points, bool bold) const override;
};

} // namespace forms
