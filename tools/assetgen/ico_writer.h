#pragma once

#include "indexed_picture.h"

#include <QByteArray>

namespace assetgen {

// A .ico holding one 16-colour (4 bits per pixel) DIB image with an all-zero AND
// mask, so every pixel is opaque. Needs exactly 16 palette entries and a width
// that is a multiple of 8.
QByteArray encodeIco16(const IndexedPicture& picture);

} // namespace assetgen
