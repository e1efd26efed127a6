#pragma once

#include "indexed_picture.h"

#include <QByteArray>

namespace assetgen {

// A non-interlaced palette PNG: 4 bits a pixel for up to 16 colours, 8 for up
// to 256. The image data goes into stored (uncompressed) deflate blocks, so
// the bytes depend on nothing but the picture, whatever zlib the system has.
QByteArray encodePng(const IndexedPicture& picture);

// Each pixel made a factor x factor block: the picture enlarged without a
// single new colour.
IndexedPicture enlarged(const IndexedPicture& picture, int factor);

} // namespace assetgen
