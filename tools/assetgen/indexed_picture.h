#pragma once

#include <QRgb>

#include <cstdint>
#include <vector>

namespace assetgen {

// A palette picture as both of our hand-written encoders take it: one palette
// index per pixel, rows top to bottom.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> pixels;

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

} // namespace assetgen
