#include "ico_writer.h"

#include "byte_sink.h"

#include <stdexcept>

namespace assetgen {

QByteArray encodeIco16(const IndexedPicture& picture) {
    const int w = picture.width;
    const int h = picture.height;
    if (picture.palette.size() != 16 || w <= 0 || h <= 0 || w > 256 || h > 256 || w % 8 != 0 ||
        picture.pixels.size() != static_cast<std::size_t>(w) * h) {
        throw std::invalid_argument("encodeIco16: needs 16 colours and a width divisible by 8");
    }
    for (std::uint8_t index : picture.pixels) {
        if (index >= 16) {
            throw std::invalid_argument("encodeIco16: palette index out of range");
        }
    }

    const int xorStride = w / 2;               // two pixels per byte, already 4-byte aligned
    const int andStride = ((w + 31) / 32) * 4; // one bit per pixel, rows padded to 4 bytes
    const int pixelBytes = xorStride * h + andStride * h;
    const int dibBytes = 40 + 16 * 4 + pixelBytes;
    const int headerBytes = 6 + 16;

    QByteArray out;
    // ICONDIR
    putU16(out, 0); // reserved
    putU16(out, 1); // type: icon
    putU16(out, 1); // one image
    // ICONDIRENTRY (256 would be written as 0)
    putU8(out, static_cast<unsigned>(w % 256));
    putU8(out, static_cast<unsigned>(h % 256));
    putU8(out, 16); // colours in the palette
    putU8(out, 0);
    putU16(out, 1); // planes
    putU16(out, 4); // bits per pixel
    putU32(out, static_cast<std::uint32_t>(dibBytes));
    putU32(out, static_cast<std::uint32_t>(headerBytes));

    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(w));
    putU32(out, static_cast<std::uint32_t>(2 * h));
    putU16(out, 1);
    putU16(out, 4);
    putU32(out, 0); // BI_RGB
    putU32(out, static_cast<std::uint32_t>(pixelBytes));
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);

    for (QRgb c : picture.palette) {
        putU8(out, static_cast<unsigned>(qBlue(c)));
        putU8(out, static_cast<unsigned>(qGreen(c)));
        putU8(out, static_cast<unsigned>(qRed(c)));
        putU8(out, 0);
    }

    // DIB rows run bottom to top; the left pixel goes in the high nibble.
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; x += 2) {
            const unsigned hi = picture.at(x, y);
            const unsigned lo = picture.at(x + 1, y);
            putU8(out, (hi << 4) | lo);
        }
    }
    out.append(QByteArray(static_cast<qsizetype>(andStride) * h, '\0'));
    return out;
}

} // namespace assetgen
