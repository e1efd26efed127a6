// text_metrics.h: how big a caption is in a given font, for auto-sized labels.
#pragma once

#include "units.h"

#include <string_view>

namespace forms {

struct TextExtent {
    Twips width = 0;
    Twips height = 0;
};

// How far a font reaches above and below its baseline, in the layout's pixels.
struct FontExtent {
    double ascent = 0;
    double descent = 0;
};

// Every front end measures captions the same way; each answers only how far
// one line of text advances in its font, and how far that font reaches.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // The caption may hold CR LF pairs; each line is one line of the label,
    // one em high, as in the runtime's default font. The widest line, rounded
    // up to a whole pixel, gives the width.
    TextExtent measure(std::string_view caption, float points, bool bold) const;
    // How far one line of text (UTF-8, no line break) advances, in the
    // layout's pixels.
    virtual double advance(std::string_view line, float points, bool bold) const = 0;
    // The font's ascent and descent at that size: where a line's baseline
    // falls within its em.
    virtual FontExtent fontExtent(float points, bool bold) const = 0;
};

// A plain gothic measure: a full-width character is one em wide, any other
// half an em, and a line one em high, its baseline seven eighths down. It is
// what a screenless runtime uses.
class GothicTextMetrics : public TextMetrics {
public:
    double advance(std::string_view line, float points, bool bold) const override;
    FontExtent fontExtent(float points, bool bold) const override;
};

} // namespace forms
