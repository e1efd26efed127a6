// drawing.h: a form's frame as device-pixel primitives, for any front end to rasterise.
#pragma once

#include "form.h"
#include "text_metrics.h"
#include "units.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

// Every pixel decision of the window is made here, once, and each front end
// (Qt, Win32 GDI, ...) only rasterises the list it is given and hosts the
// real push buttons above it.
//
// Coordinates are DEVICE pixels: the screen's own, with (0, 0) the top left
// corner of the frame's top left pixel. Integers name whole pixels; where a
// point is given in doubles, pixel (i, j) spans [i, i+1) x [j, j+1) and its
// centre is (i + 0.5, j + 0.5). Nothing is antialiased except text.
//
// Colours are plain 0x00BBGGRR (a Win32 COLORREF, red in the low byte):
// the system's colours are already resolved, so a primitive never carries one.
namespace drawing {

using forms::Colour;

// Whole device pixels: columns left .. left + width - 1, rows top .. top + height - 1.
// Never empty in a frame.
struct DeviceRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width - 1; }  // the last column covered
    int bottom() const { return top + height - 1; } // the last row covered
    bool operator==(const DeviceRect&) const = default;
};

struct DevicePixel {
    int x = 0;
    int y = 0;
    bool operator==(const DevicePixel&) const = default;
};

struct DevicePoint {
    double x = 0;
    double y = 0;
    bool operator==(const DevicePoint&) const = default;
};

// Every pixel of the rectangle in one colour.
struct FillRect {
    DeviceRect rect;
    Colour colour = 0;
};

// A line one device pixel wide from pixel `from` to pixel `to`, BOTH end
// pixels included: one pixel per step along the longer axis (a Bresenham
// line; where a diagonal's pixel is a tie, either neighbour will do). A line
// whose ends are the same pixel covers that one pixel. (GDI's LineTo leaves
// out the last pixel: set it too.)
struct Hairline {
    DevicePixel from;
    DevicePixel to;
    Colour colour = 0;
};

// A line `width` device pixels wide (always 2 or more) with round caps: it
// covers the pixels whose centres lie within width / 2 of the segment from
// `from` to `to`, so each end is a half disc of diameter `width` centred on
// its end point. The end points may fall on a pixel's centre or edge.
struct WideLine {
    DevicePoint from;
    DevicePoint to;
    int width = 2;
    Colour colour = 0;
};

// A rectangle with rounded corners over `rect`, filled, outlined or both.
// The outline is a hairline along the rectangle's outermost pixels: its path
// runs through the centres of those pixels, from (left + 0.5, top + 0.5) to
// (right + 0.5, bottom + 0.5), each corner a quarter circle of `radius`
// device pixels on that path. The fill covers the inside of that path when
// there is an outline (drawn first, the outline over it), else the inside of
// `rect`'s own outer edges with its corners rounded by `radius`. `radius` is
// never more than half the shorter side. An outlined shape's `rect` is where
// its outline runs: the first device pixel of each outermost layout pixel,
// as a Hairline runs, so at ratio 2 it stops one device pixel short of the
// right and bottom of the shape's area (and a line over the outline hits it).
struct RoundedRect {
    DeviceRect rect;
    double radius = 0;
    std::optional<Colour> fill;
    std::optional<Colour> outline;
};

// The program's embedded picture `name` scaled to cover exactly `rect`.
// `smooth` asks for filtered scaling (at a fractional ratio, where pixels
// cannot map whole); otherwise each device pixel takes its nearest picture
// pixel, which at a whole ratio is the picture pixel for pixel, each pixel
// repeated ratio times each way.
struct Picture {
    std::string name;
    DeviceRect rect;
    bool smooth = false;
};

// One line of a label's text, anchored at its BASELINE: `origin` is where the
// baseline starts, at the left edge of the first character's advance. The
// font is the front end's Japanese gothic (every full-width character one em
// wide) at `points`, bold or not, with an em (the font's character height,
// ascent plus descent, as a Win32 LOGFONT's negative lfHeight) of `emPixels`
// device pixels; `points` is given as the model has it, for front ends that
// size fonts in points at the layout's 96 dots to the inch. Antialiased, in
// `colour`. `text` is UTF-8, one line, never empty.
struct TextRun {
    DevicePoint origin;
    float points = forms::kDefaultFontSize;
    bool bold = false;
    double emPixels = 0;
    Colour colour = 0;
    std::string text;
};

// The device pixels a wide line covers, row by row: every front end that has
// no wide pen of its own sets exactly these.
std::vector<DevicePixel> pixelsOf(const WideLine& line);

// The device pixels a hairline covers, as runs along its longer axis, for a
// front end with no pen of its own: along that axis a pixel at every step,
// both end pixels included, and across it the pixel nearest the line, the
// lower or righter of two where the line passes exactly between them,
// whichever way it is drawn.
std::vector<DeviceRect> runsOf(const Hairline& line);

// The device pixels a rounded rectangle's fill covers, a run for each row:
// with an outline, inside the outline's path, the path included (the
// outline goes over it); without, the pixels whose centres lie within the
// rectangle's outer edges, corners rounded.
std::vector<DeviceRect> fillRunsOf(const RoundedRect& shape);

// The device pixels a rounded rectangle's outline covers: one pixel wide
// and unbroken, through the centres of the outermost pixels, each corner a
// quarter circle whose centre stands `radius` in from both of its edges,
// and symmetric both ways.
std::vector<DevicePixel> outlineOf(const RoundedRect& shape);

using Primitive = std::variant<FillRect, Hairline, WideLine, RoundedRect, Picture, TextRun>;

// What the window shows, without its push buttons (which lie above it all).
struct Frame {
    // The frame's size in device pixels: the form's client area at the ratio.
    int width = 0;
    int height = 0;
    double ratio = 1;
    // Painted first to last, each over those before it. The first is always
    // the form's ground, a FillRect over the whole frame.
    std::vector<Primitive> primitives;
};

// The whole window is drawn this many layout pixels (the form's own pixels,
// 15 twips each) aside from where the layout puts it: the catastrophe shake
// where the window itself cannot move. The ground stays put.
struct ContentsOffset {
    int x = 0;
    int y = 0;
    bool operator==(const ContentsOffset&) const = default;
};

// The frame of `form` at `devicePixelRatio` device pixels to the layout
// pixel (1, 1.25, 1.5, 2, ...). `metrics` is the front end's own: its font's
// ascent and descent place each label's lines. Hidden controls, lines whose
// BorderStyle is 0, timers and push buttons give no primitive. The ground is
// `ground` where the view shows another colour than the form's BackColor
// (a player who asked for reduced motion sees its flashes slowed).
Frame drawFrame(const forms::Form& form, const forms::TextMetrics& metrics, double devicePixelRatio,
                ContentsOffset offset = {}, std::optional<Colour> ground = std::nullopt);

// Where a control's rectangle falls on the device, as the frame places its
// drawing: each layout pixel starts on the device pixel nearest to it, each
// edge rounded on its own. At ratio 1 these are its layout pixels, where a
// front end that works in those puts a push button. Empty (width or height
// 0 or less) for a control too small to cover a pixel.
DeviceRect deviceRect(const forms::Rect& rect, double devicePixelRatio, ContentsOffset offset = {});

} // namespace drawing
