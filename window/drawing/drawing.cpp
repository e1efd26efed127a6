// drawing.cpp: where each control's pixels fall on the device, at any ratio.
#include "drawing.h"

#include "utf8.h"

#include <algorithm>
#include <cmath>

namespace drawing {

namespace {

using forms::toPixels;

// The layout's pixels a rectangle covers, edges rounded each on its own, so
// that a shape whose bottom stays put keeps its bottom row as its top moves.
struct LayoutArea {
    int left = 0;
    int top = 0;
    int right = 0;  // the first column past it
    int bottom = 0; // the first row past it
    bool empty() const { return right <= left || bottom <= top; }
};

LayoutArea layoutArea(const forms::Rect& rect) {
    return {toPixels(rect.left), toPixels(rect.top), toPixels(rect.left + rect.width),
            toPixels(rect.top + rect.height)};
}

// Where the layout's pixels fall among the device's own. Each layout pixel
// starts on a whole device pixel, so that at 1.25 or 1.5 an edge or a line
// never straddles two device pixels and smears into grey.
class DeviceGrid {
public:
    DeviceGrid(double ratio, ContentsOffset offset) : m_ratio(ratio), m_offset(offset) {}

    double ratio() const { return m_ratio; }
    bool whole() const { return m_ratio == std::floor(m_ratio); }

    // The first device pixel of layout column x, or row y.
    int x(int pixel) const { return snap(pixel + m_offset.x); }
    int y(int pixel) const { return snap(pixel + m_offset.y); }
    // The device pixels a rectangle of layout pixels covers.
    DeviceRect rect(const LayoutArea& area) const {
        return {x(area.left), y(area.top), x(area.right) - x(area.left),
                y(area.bottom) - y(area.top)};
    }
    // The device pixels from the first of the area's top left layout pixel
    // to the first of its bottom right one: where hairlines along its edges run.
    DeviceRect outline(const LayoutArea& area) const {
        return {x(area.left), y(area.top), x(area.right - 1) - x(area.left) + 1,
                y(area.bottom - 1) - y(area.top) + 1};
    }
    // A thick line's width in whole device pixels, in proportion to the ratio.
    int width(int pixels) const { return std::max(1, snap(pixels)); }
    // A one-pixel line runs along the first device pixel of its layout pixel,
    // as a shape's border does, so the two meet.
    DevicePixel hairline(int px, int py) const { return {x(px), y(py)}; }
    // A thick line runs through the middle of its layout pixel's device
    // pixels, so it stays centred on the row or column its coordinates name.
    DevicePoint centre(int px, int py) const {
        return {(x(px) + x(px + 1)) / 2.0, (y(py) + y(py + 1)) / 2.0};
    }
    // Where a layout position falls on the device, unsnapped: text is placed
    // by the font's own measures, not on the grid.
    DevicePoint exact(double px, double py) const {
        return {(px + m_offset.x) * m_ratio, (py + m_offset.y) * m_ratio};
    }

private:
    int snap(int pixel) const { return static_cast<int>(std::lround(pixel * m_ratio)); }

    double m_ratio;
    ContentsOffset m_offset;
};

// The window paints its own white ground, so the system's text colours are
// the standard scheme's black.
Colour resolved(Colour colour) {
    return forms::isSystemColour(colour) ? 0x000000 : colour;
}

void drawLine(std::vector<Primitive>& out, const DeviceGrid& grid, const forms::Line& line) {
    if (!line.visible() || line.borderStyle() == forms::BorderStyle::Transparent) {
        return;
    }
    const int x1 = toPixels(line.x1());
    const int y1 = toPixels(line.y1());
    const int x2 = toPixels(line.x2());
    const int y2 = toPixels(line.y2());
    const Colour colour = resolved(line.borderColor());
    if (line.borderWidth() > 1) {
        // Wide lines end in round caps, as the runtime's wide pens do.
        const int width = grid.width(line.borderWidth());
        if (width > 1) {
            out.push_back(WideLine{grid.centre(x1, y1), grid.centre(x2, y2), width, colour});
            return;
        }
    }
    out.push_back(Hairline{grid.hairline(x1, y1), grid.hairline(x2, y2), colour});
}

void drawShape(std::vector<Primitive>& out, const DeviceGrid& grid, const forms::Shape& shape) {
    if (!shape.visible()) {
        return;
    }
    const LayoutArea area = layoutArea(shape.rect());
    if (area.empty()) {
        return;
    }
    const DeviceRect covered = grid.rect(area);
    const bool filled = shape.backStyle() == forms::BackStyle::Opaque;
    const bool bordered = shape.borderStyle() != forms::BorderStyle::Transparent;
    if (!filled && !bordered) {
        return;
    }
    const Colour fill = resolved(shape.backColor());
    const Colour border = resolved(shape.borderColor());
    // A border is a one-pixel line along the first device pixels of the
    // outermost layout pixels, as a hairline runs, so a line drawn over the
    // border (the balloon's opening for its tail) lands on the very same pixels.
    const DeviceRect ring = bordered ? grid.outline(area) : covered;
    if (shape.shape() == forms::ShapeKind::RoundedRectangle) {
        // Corner ellipses a quarter of the shorter side across.
        const double radius = std::min(covered.width, covered.height) / 8.0;
        out.push_back(RoundedRect{ring, radius, filled ? std::optional(fill) : std::nullopt,
                                  bordered ? std::optional(border) : std::nullopt});
        return;
    }
    if (filled) {
        out.push_back(FillRect{ring, fill});
    }
    if (bordered) {
        const DevicePixel topLeft{ring.left, ring.top};
        const DevicePixel topRight{ring.right(), ring.top};
        const DevicePixel bottomLeft{ring.left, ring.bottom()};
        const DevicePixel bottomRight{ring.right(), ring.bottom()};
        out.push_back(Hairline{topLeft, topRight, border});
        out.push_back(Hairline{topRight, bottomRight, border});
        out.push_back(Hairline{bottomLeft, bottomRight, border});
        out.push_back(Hairline{topLeft, bottomLeft, border});
    }
}

// Each line of a label is one em high, its baseline where the font's ascent
// puts it when ascent and descent share that em.
void drawLabel(std::vector<Primitive>& out, const DeviceGrid& grid,
               const forms::TextMetrics& metrics, const forms::Label& label) {
    if (!label.visible()) {
        return;
    }
    const float points = label.fontSize();
    const bool bold = label.fontBold();
    const int em = forms::fontPixels(points);
    const forms::FontExtent font = metrics.fontExtent(points, bold);
    const double reach = font.ascent + font.descent;
    const double baseline = reach > 0 ? em * font.ascent / reach : em;
    const int left = toPixels(label.rect().left);
    const int top = toPixels(label.rect().top);
    int row = 0;
    for (std::string_view line : forms::splitLines(label.caption())) {
        if (!line.empty()) {
            out.push_back(TextRun{grid.exact(left, top + row * em + baseline), points, bold,
                                  em * grid.ratio(), resolved(label.foreColor()),
                                  std::string(line)});
        }
        ++row;
    }
}

// Not stretched: each picture is its control's own size, scaled only with
// the ratio, pixel for pixel at whole ratios.
void drawImage(std::vector<Primitive>& out, const DeviceGrid& grid, const forms::Image& image) {
    if (!image.visible()) {
        return;
    }
    const LayoutArea area = layoutArea(image.rect());
    if (area.empty()) {
        return;
    }
    out.push_back(Picture{image.picture(), grid.rect(area), !grid.whole()});
}

} // namespace

Frame drawFrame(const forms::Form& form, const forms::TextMetrics& metrics, double devicePixelRatio,
                ContentsOffset offset, std::optional<Colour> ground) {
    const DeviceGrid grid(devicePixelRatio, offset);
    const DeviceGrid still(devicePixelRatio, {});
    Frame frame;
    frame.ratio = devicePixelRatio;
    frame.width = still.x(toPixels(form.clientWidth()));
    frame.height = still.y(toPixels(form.clientHeight()));
    auto& out = frame.primitives;
    out.reserve(form.controls().size() + 1);
    out.push_back(
        FillRect{{0, 0, frame.width, frame.height}, resolved(ground.value_or(form.backColor()))});
    // The last control in the list is drawn first, so the first covers all.
    const auto& controls = form.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const forms::Control& control = **it;
        switch (control.kind()) {
        case forms::ControlKind::Line:
            drawLine(out, grid, static_cast<const forms::Line&>(control));
            break;
        case forms::ControlKind::Shape:
            drawShape(out, grid, static_cast<const forms::Shape&>(control));
            break;
        case forms::ControlKind::Label:
            drawLabel(out, grid, metrics, static_cast<const forms::Label&>(control));
            break;
        case forms::ControlKind::Image:
            drawImage(out, grid, static_cast<const forms::Image&>(control));
            break;
        case forms::ControlKind::CommandButton:
        case forms::ControlKind::Timer:
            break;
        }
    }
    return frame;
}

DeviceRect deviceRect(const forms::Rect& rect, double devicePixelRatio, ContentsOffset offset) {
    return DeviceGrid(devicePixelRatio, offset).rect(layoutArea(rect));
}

std::vector<DevicePixel> pixelsOf(const WideLine& line) {
    // Squared distance from a pixel's centre to the segment.
    const auto distanceSquared = [&](double px, double py) {
        const double dx = line.to.x - line.from.x;
        const double dy = line.to.y - line.from.y;
        const double length = dx * dx + dy * dy;
        double t = length > 0 ? ((px - line.from.x) * dx + (py - line.from.y) * dy) / length : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double ex = line.from.x + t * dx - px;
        const double ey = line.from.y + t * dy - py;
        return ex * ex + ey * ey;
    };
    const double reach = line.width / 2.0;
    const int left = static_cast<int>(std::floor(std::min(line.from.x, line.to.x) - reach));
    const int right = static_cast<int>(std::ceil(std::max(line.from.x, line.to.x) + reach));
    const int top = static_cast<int>(std::floor(std::min(line.from.y, line.to.y) - reach));
    const int bottom = static_cast<int>(std::ceil(std::max(line.from.y, line.to.y) + reach));
    std::vector<DevicePixel> pixels;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (distanceSquared(x + 0.5, y + 0.5) <= reach * reach) {
                pixels.push_back({x, y});
            }
        }
    }
    return pixels;
}

} // namespace drawing
