// paint_list.cpp: each shape of the frame as the whole device pixels it covers.
#include "paint_list.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace front::web {

namespace {

// How far a corner of radius r bends in from the straight edge at `beyond`
// past the corner's centre, along that edge.
double inset(double radius, double beyond) {
    return radius - std::sqrt(std::max(0.0, radius * radius - beyond * beyond));
}

// Rounding, and edges that a corner's arithmetic leaves a hair off a whole number.
constexpr double kSlack = 1e-9;

} // namespace

void PaintList::paint(const drawing::Frame& frame) {
    m_numbers.assign(
        {0, static_cast<double>(frame.width), static_cast<double>(frame.height), frame.ratio});
    m_strings.clear();
    m_stringAt.clear();
    for (const drawing::Primitive& primitive : frame.primitives) {
        std::visit([this](const auto& shape) { add(shape); }, primitive);
    }
    // The strings stay put from here until the next frame.
    for (std::size_t i = 0; i < m_strings.size(); ++i) {
        m_numbers[m_stringAt[i]] =
            static_cast<double>(reinterpret_cast<std::uintptr_t>(m_strings[i].c_str()));
    }
    m_numbers[0] = static_cast<double>(m_numbers.size());
}

void PaintList::fill(int left, int top, int width, int height, forms::Colour colour) {
    m_numbers.insert(m_numbers.end(), {Fill, static_cast<double>(left), static_cast<double>(top),
                                       static_cast<double>(width), static_cast<double>(height),
                                       static_cast<double>(colour)});
}

double PaintList::string(std::string text) {
    m_stringAt.push_back(m_numbers.size());
    m_strings.push_back(std::move(text));
    return 0;
}

void PaintList::add(const drawing::FillRect& shape) {
    fill(shape.rect.left, shape.rect.top, shape.rect.width, shape.rect.height, shape.colour);
}

// A line one pixel wide, both end pixels included: along its longer axis a
// pixel at every step, across it the pixel nearest the line, and the lower
// or righter of two where the line passes exactly between them, whichever
// way it is drawn. In runs along the longer axis.
void PaintList::add(const drawing::Hairline& line) {
    const bool across = std::abs(line.to.x - line.from.x) >= std::abs(line.to.y - line.from.y);
    // Along the longer axis from its smaller end: a, b; across it: c, d.
    drawing::DevicePixel start = line.from;
    drawing::DevicePixel end = line.to;
    if (across ? start.x > end.x : start.y > end.y) {
        std::swap(start, end);
    }
    const int a0 = across ? start.x : start.y;
    const int a1 = across ? end.x : end.y;
    const int c0 = across ? start.y : start.x;
    const int dc = (across ? end.y : end.x) - c0;
    const int da = a1 - a0;
    // The pixel across at step a: c0 + dc * (a - a0) / da, rounded half up.
    auto crossAt = [&](int a) {
        if (da == 0) {
            return c0;
        }
        const long long twice = 2LL * dc * (a - a0) + da;
        const long long over = 2LL * da;
        return c0 + static_cast<int>(twice >= 0 ? twice / over : -((-twice + over - 1) / over));
    };
    for (int a = a0; a <= a1;) {
        const int c = crossAt(a);
        int last = a;
        while (last < a1 && crossAt(last + 1) == c) {
            ++last;
        }
        if (across) {
            fill(a, c, last - a + 1, 1, line.colour);
        } else {
            fill(c, a, 1, last - a + 1, line.colour);
        }
        a = last + 1;
    }
}

// The pixels whose centres lie within half the width of the segment.
void PaintList::add(const drawing::WideLine& line) {
    fillRows(drawing::pixelsOf(line), line.colour);
}

void PaintList::add(const drawing::RoundedRect& shape) {
    const drawing::DeviceRect& area = shape.rect;
    const double r = shape.radius;
    if (shape.fill && !shape.outline) {
        // The inside of the rectangle's outer edges, corners rounded: the
        // pixels whose centres lie within.
        for (int y = area.top; y <= area.bottom(); ++y) {
            const double centre = y + 0.5;
            const double beyond =
                std::max({0.0, area.top + r - centre, centre - (area.top + area.height - r)});
            const double in = inset(r, beyond);
            const int first = static_cast<int>(std::ceil(area.left + in - 0.5 - kSlack));
            const int last =
                static_cast<int>(std::floor(area.left + area.width - in - 0.5 + kSlack));
            if (last >= first) {
                fill(first, y, last - first + 1, 1, *shape.fill);
            }
        }
        return;
    }
    // The outline's path runs through the centres of the outermost pixels:
    // in pixel numbers, from (left, top) to (right, bottom), each corner a
    // quarter circle whose centre stands r in from both of its edges.
    const int left = area.left;
    const int top = area.top;
    const int right = area.right();
    const int bottom = area.bottom();
    // How far past its corner's centre a column or row lies.
    auto pastColumn = [&](int x) { return std::max({0.0, left + r - x, x - (right - r)}); };
    auto pastRow = [&](int y) { return std::max({0.0, top + r - y, y - (bottom - r)}); };
    if (shape.fill) {
        // Inside the path, the path itself included: the outline goes over it.
        for (int y = top; y <= bottom; ++y) {
            const double in = inset(r, pastRow(y));
            const int first = static_cast<int>(std::ceil(left + in - kSlack));
            const int last = static_cast<int>(std::floor(right - in + kSlack));
            if (last >= first) {
                fill(first, y, last - first + 1, 1, *shape.fill);
            }
        }
    }
    // One pixel wide and unbroken: along the edges and where a corner is
    // nearer level, a pixel in each column; where it is nearer upright, a
    // pixel in each row. Each offset is rounded once and used on both
    // sides, so the shape stays symmetric.
    const double bend = r / std::sqrt(2.0) + kSlack;
    std::vector<drawing::DevicePixel> pixels;
    for (int x = left; x <= right; ++x) {
        if (const double past = pastColumn(x); past <= bend) {
            const int in = static_cast<int>(std::lround(inset(r, past)));
            pixels.push_back({x, top + in});
            pixels.push_back({x, bottom - in});
        }
    }
    for (int y = top; y <= bottom; ++y) {
        if (const double past = pastRow(y); past <= bend) {
            const int in = static_cast<int>(std::lround(inset(r, past)));
            pixels.push_back({left + in, y});
            pixels.push_back({right - in, y});
        }
    }
    fillRows(std::move(pixels), *shape.outline);
}

void PaintList::fillRows(std::vector<drawing::DevicePixel> pixels, forms::Colour colour) {
    std::sort(pixels.begin(), pixels.end(),
              [](const auto& a, const auto& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    for (std::size_t i = 0; i < pixels.size();) {
        std::size_t end = i + 1;
        while (end < pixels.size() && pixels[end].y == pixels[i].y &&
               pixels[end].x == pixels[end - 1].x + 1) {
            ++end;
        }
        fill(pixels[i].x, pixels[i].y, static_cast<int>(end - i), 1, colour);
        i = end;
    }
}

void PaintList::add(const drawing::Picture& picture) {
    const drawing::DeviceRect& area = picture.rect;
    m_numbers.insert(m_numbers.end(),
                     {Picture, static_cast<double>(area.left), static_cast<double>(area.top),
                      static_cast<double>(area.width), static_cast<double>(area.height),
                      picture.smooth ? 1.0 : 0.0});
    m_numbers.push_back(string(picture.name));
}

void PaintList::add(const drawing::TextRun& run) {
    m_numbers.insert(m_numbers.end(), {Text, run.origin.x, run.origin.y, run.emPixels,
                                       run.bold ? 1.0 : 0.0, static_cast<double>(run.colour)});
    m_numbers.push_back(string(run.text));
}

} // namespace front::web
