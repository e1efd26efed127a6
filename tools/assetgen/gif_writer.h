#pragma once

#include "indexed_picture.h"

#include <QByteArray>

namespace assetgen {

// A GIF89a with one non-interlaced frame, the palette as the global colour table
// and no animation blocks. The palette size must be a power of two from 2 to 256.
// With transparentIndex >= 0 a Graphic Control Extension marks that entry
// transparent.
QByteArray encodeGif(const IndexedPicture& picture, int transparentIndex);

// The LZW code stream of a GIF image (before it is cut into sub-blocks).
QByteArray gifLzw(const std::vector<std::uint8_t>& indices, int minCodeSize);

} // namespace assetgen
