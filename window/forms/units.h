// units.h: the forms' measures: twips, pixels and 0x00BBGGRR colours.
#pragma once

#include <cmath>
#include <cstdint>

namespace forms {

// Positions and sizes are twips held in single precision, as the window's
// description gives them.
using Twips = float;

// The layout was made for a screen of 15 twips to the pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int toPixels(Twips twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
constexpr Twips toTwips(int pixels) {
    return static_cast<Twips>(pixels * kTwipsPerPixel);
}

// A window stands on whole pixels: the nearest one to where it was sent.
constexpr Twips snapToPixel(Twips twips) {
    return toTwips(toPixels(twips));
}

// 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

constexpr int red(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The system's own colours, resolved by whoever paints the window.
constexpr Colour kWindowTextColour = 0x80000008;
constexpr Colour kButtonTextColour = 0x80000012;
constexpr bool isSystemColour(Colour c) {
    return (c & 0x80000000u) != 0;
}

// Font sizes in points; the window's default font is 9 points.
constexpr float kDefaultFontSize = 9.0f;
// 9 points is 12 pixels and 15 points is 20 pixels on the layout's screen.
constexpr int fontPixels(float points) {
    return static_cast<int>(std::lround(points * 4.0f / 3.0f));
}

} // namespace forms
