// gdi_text_metrics.h: captions measured with GDI in the font the view draws them in.
#pragma once

#include "text_metrics.h"

#include <windows.h>

#include <map>
#include <utility>

namespace front::win32 {

using forms::FontExtent;
using forms::TextMetrics;

class GdiTextMetrics : public TextMetrics {
public:
    GdiTextMetrics();
    ~GdiTextMetrics() override;
    GdiTextMetrics(const GdiTextMetrics&) = delete;
    GdiTextMetrics& operator=(const GdiTextMetrics&) = delete;

    double advance(std::string_view line, float points, bool bold) const override;
    FontExtent fontExtent(float points, bool bold) const override;

private:
    // The measuring DC with the form's font at `points` selected. Each size
    // is made once: the balloon is measured at every tick, in one of two fonts.
    HDC select(float points, bool bold) const;

    HDC m_dc;
    mutable HGDIOBJ m_original = nullptr;
    mutable std::map<std::pair<int, bool>, HFONT> m_fonts;
};

} // namespace front::win32
