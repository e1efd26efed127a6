#include "png_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace assetgen {

namespace {

// PNG's integers are big-endian, unlike those of .ico and .gif.
void putBigU32(QByteArray& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.append(static_cast<char>((value >> shift) & 0xFFu));
    }
}

std::uint32_t crc32(const QByteArray& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char byte : bytes) {
        c = table[(c ^ static_cast<std::uint8_t>(byte)) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const QByteArray& bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (char byte : bytes) {
        a = (a + static_cast<std::uint8_t>(byte)) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void putChunk(QByteArray& out, const char* type, const QByteArray& data) {
    putBigU32(out, static_cast<std::uint32_t>(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out.append(typed);
    putBigU32(out, crc32(typed));
}

// A zlib stream of stored deflate blocks, at most 65535 bytes each.
QByteArray storedZlib(const QByteArray& data) {
    constexpr qsizetype kLargestBlock = 65535;
    QByteArray out;
    out.append('\x78').append(
        '\x01'); // deflate, 32K window; the check bits make it divisible by 31
    qsizetype at = 0;
    do {
        const qsizetype length = std::min(kLargestBlock, data.size() - at);
        const bool last = at + length == data.size();
        out.append(static_cast<char>(last ? 1 : 0));
        const auto len = static_cast<std::uint16_t>(length);
        const auto nlen = static_cast<std::uint16_t>(~len);
        out.append(static_cast<char>(len & 0xFFu)).append(static_cast<char>(len >> 8));
        out.append(static_cast<char>(nlen & 0xFFu)).append(static_cast<char>(nlen >> 8));
        out.append(data.mid(at, length));
        at += length;
    } while (at < data.size());
    putBigU32(out, adler32(data));
    return out;
}

} // namespace

QByteArray encodePng(const IndexedPicture& picture) {
    const int w = picture.width;
    const int h = picture.height;
    const std::size_t colours = picture.palette.size();
    if (w <= 0 || h <= 0 || colours == 0 || colours > 256 ||
        picture.pixels.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {
        throw std::invalid_argument("encodePng: needs 1 to 256 colours and one index a pixel");
    }
    for (std::uint8_t index : picture.pixels) {
        if (index >= colours) {
            throw std::invalid_argument("encodePng: palette index out of range");
        }
    }
    const int depth = colours <= 16 ? 4 : 8;

    QByteArray header;
    putBigU32(header, static_cast<std::uint32_t>(w));
    putBigU32(header, static_cast<std::uint32_t>(h));
    header.append(static_cast<char>(depth));
    header.append('\x03'); // palette colour
    header.append('\0');   // deflate
    header.append('\0');   // adaptive filtering, every row unfiltered here
    header.append('\0');   // not interlaced

    QByteArray palette;
    for (QRgb c : picture.palette) {
        palette.append(static_cast<char>(qRed(c)));
        palette.append(static_cast<char>(qGreen(c)));
        palette.append(static_cast<char>(qBlue(c)));
    }

    // Each row: filter type 0, then the pixels, the left one in the high bits.
    QByteArray rows;
    for (int y = 0; y < h; ++y) {
        rows.append('\0');
        for (int x = 0; x < w; x += 8 / depth) {
            if (depth == 8) {
                rows.append(static_cast<char>(picture.at(x, y)));
            } else {
                const unsigned hi = picture.at(x, y);
                const unsigned lo = x + 1 < w ? picture.at(x + 1, y) : 0u;
                rows.append(static_cast<char>((hi << 4) | lo));
            }
        }
    }

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    putChunk(out, "IHDR", header);
    putChunk(out, "PLTE", palette);
    putChunk(out, "IDAT", storedZlib(rows));
    putChunk(out, "IEND", {});
    return out;
}

IndexedPicture enlarged(const IndexedPicture& picture, int factor) {
    if (factor < 1) {
        throw std::invalid_argument("enlarged: the factor must be at least 1");
    }
    IndexedPicture big;
    big.width = picture.width * factor;
    big.height = picture.height * factor;
    big.palette = picture.palette;
    big.pixels.reserve(static_cast<std::size_t>(big.width) * static_cast<std::size_t>(big.height));
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) {
            big.pixels.push_back(picture.at(x / factor, y / factor));
        }
    }
    return big;
}

} // namespace assetgen
