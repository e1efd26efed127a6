// opening_place.h: where the window opens, the same on every front end:
// centred on the screen's work area, as a desktop program's first window.
#pragma once

#include <algorithm>

namespace runtime {

// A rectangle of the screen, or a place on it, in the platform's pixels.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct ScreenPlace {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPlace&, const ScreenPlace&) = default;
};

// Where a window of `width` by `height` pixels (what the front end places:
// the whole window, or its inside where it has no frame of its own) opens on
// the work area: centred, an odd pixel over going right and down; on a work
// area too small for it, at the area's top left corner, so that its title
// bar and close box stay within reach.
constexpr ScreenPlace openingPlace(const ScreenArea& work, int width, int height) {
    const auto centred = [](int start, int room, int size) {
        return start + std::max(0, (room - size + 1) / 2);
    };
    return {centred(work.left, work.width, width), centred(work.top, work.height, height)};
}

} // namespace runtime
