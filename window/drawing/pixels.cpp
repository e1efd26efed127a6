// pixels.cpp: which device pixels a hairline and a rounded rectangle cover,
// for the front ends that set pixels rather than draw with a pen.
#include "drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace drawing {

namespace {

// How far a corner of radius r bends in from the straight edge at `beyond`
// past the corner's centre, along that edge.
double inset(double radius, double beyond) {
    return radius - std::sqrt(std::max(0.0, radius * radius - beyond * beyond));
}

// Rounding, and edges that a corner's arithmetic leaves a hair off a whole number.
constexpr double kSlack = 1e-9;

// How far past its corner's centre column or row `at` lies, on a path from
// `first` to `last` whose corners have radius r.
double pastCorner(int at, int first, int last, double r) {
    return std::max({0.0, first + r - at, at - (last - r)});
}

} // namespace

std::vector<DeviceRect> runsOf(const Hairline& line) {
    const bool across = std::abs(line.to.x - line.from.x) >= std::abs(line.to.y - line.from.y);
    // Along the longer axis from its smaller end: a, b; across it: c, d.
    DevicePixel start = line.from;
    DevicePixel end = line.to;
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
    std::vector<DeviceRect> runs;
    for (int a = a0; a <= a1;) {
        const int c = crossAt(a);
        int last = a;
        while (last < a1 && crossAt(last + 1) == c) {
            ++last;
        }
        runs.push_back(across ? DeviceRect{a, c, last - a + 1, 1}
                              : DeviceRect{c, a, 1, last - a + 1});
        a = last + 1;
    }
    return runs;
}

std::vector<DeviceRect> fillRunsOf(const RoundedRect& shape) {
    const DeviceRect& area = shape.rect;
    const double r = shape.radius;
    std::vector<DeviceRect> runs;
    if (!shape.outline) {
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
                runs.push_back({first, y, last - first + 1, 1});
            }
        }
        return runs;
    }
    // Inside the outline's path (see outlineOf), the path itself included.
    for (int y = area.top; y <= area.bottom(); ++y) {
        const double in = inset(r, pastCorner(y, area.top, area.bottom(), r));
        const int first = static_cast<int>(std::ceil(area.left + in - kSlack));
        const int last = static_cast<int>(std::floor(area.right() - in + kSlack));
        if (last >= first) {
            runs.push_back({first, y, last - first + 1, 1});
        }
    }
    return runs;
}

std::vector<DevicePixel> outlineOf(const RoundedRect& shape) {
    // The path runs through the centres of the outermost pixels: in pixel
    // numbers, from (left, top) to (right, bottom).
    const DeviceRect& area = shape.rect;
    const double r = shape.radius;
    const int left = area.left;
    const int top = area.top;
    const int right = area.right();
    const int bottom = area.bottom();
    // Along the edges and where a corner is nearer level, a pixel in each
    // column; where it is nearer upright, a pixel in each row. Each offset
    // is rounded once and used on both sides, so the shape stays symmetric.
    const double bend = r / std::sqrt(2.0) + kSlack;
    std::vector<DevicePixel> pixels;
    for (int x = left; x <= right; ++x) {
        if (const double past = pastCorner(x, left, right, r); past <= bend) {
            const int in = static_cast<int>(std::lround(inset(r, past)));
            pixels.push_back({x, top + in});
            pixels.push_back({x, bottom - in});
        }
    }
    for (int y = top; y <= bottom; ++y) {
        if (const double past = pastCorner(y, top, bottom, r); past <= bend) {
            const int in = static_cast<int>(std::lround(inset(r, past)));
            pixels.push_back({left + in, y});
            pixels.push_back({right - in, y});
        }
    }
    return pixels;
}

} // namespace drawing
