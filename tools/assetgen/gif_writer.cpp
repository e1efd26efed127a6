#include "gif_writer.h"

#include "byte_sink.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace assetgen {

namespace {

constexpr int kMaxCodes = 4096; // 12-bit codes at most

// Codes are packed least significant bit first.
class BitWriter {
public:
    void put(int value, int bits) {
        buffer_ |= static_cast<std::uint32_t>(value) << count_;
        count_ += bits;
        while (count_ >= 8) {
            putU8(bytes_, buffer_);
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish() {
        if (count_ > 0) {
            putU8(bytes_, buffer_);
        }
        buffer_ = 0;
        count_ = 0;
        return bytes_;
    }

private:
    QByteArray bytes_;
    std::uint32_t buffer_ = 0;
    int count_ = 0;
};

int bitsFor(std::size_t paletteSize) {
    for (int bits = 1; bits <= 8; ++bits) {
        if (paletteSize == (std::size_t{1} << bits)) {
            return bits;
        }
    }
    throw std::invalid_argument("encodeGif: palette size must be a power of two up to 256");
}

} // namespace

QByteArray gifLzw(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter out;
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;
    // Key: (code of the known string << 8) | next index.
    std::unordered_map<std::uint32_t, int> table;

    out.put(clearCode, codeSize);
    if (indices.empty()) {
        out.put(endCode, codeSize);
        return out.finish();
    }
    int current = indices.front();
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const std::uint8_t next = indices[i];
        const std::uint32_t key = (static_cast<std::uint32_t>(current) << 8) | next;
        if (const auto found = table.find(key); found != table.end()) {
            current = found->second;
            continue;
        }
        out.put(current, codeSize);
        if (nextCode < kMaxCodes) {
            table.emplace(key, nextCode++);
            // The decoder adds its entry one code later, so it widens exactly when
            // the code just assigned needed one more bit.
            if (nextCode > (1 << codeSize) && codeSize < 12) {
                ++codeSize;
            }
        } else {
            out.put(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        current = next;
    }
    out.put(current, codeSize);
    out.put(endCode, codeSize);
    return out.finish();
}

QByteArray encodeGif(const IndexedPicture& picture, int transparentIndex) {
    const int tableBits = bitsFor(picture.palette.size());
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 0xFFFF ||
        picture.height > 0xFFFF ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        throw std::invalid_argument("encodeGif: pixel count does not match the size");
    }
    for (std::uint8_t index : picture.pixels) {
        if (index >= picture.palette.size()) {
            throw std::invalid_argument("encodeGif: palette index out of range");
        }
    }
    if (transparentIndex >= static_cast<int>(picture.palette.size())) {
        throw std::invalid_argument("encodeGif: transparent index out of range");
    }

    QByteArray out("GIF89a");
    // Logical screen descriptor: global table present, colour resolution and table
    // size both tableBits.
    putU16(out, static_cast<unsigned>(picture.width));
    putU16(out, static_cast<unsigned>(picture.height));
    putU8(out, 0x80u | (static_cast<unsigned>(tableBits - 1) << 4) |
                   static_cast<unsigned>(tableBits - 1));
    putU8(out, transparentIndex >= 0 ? static_cast<unsigned>(transparentIndex) : 0u);
    putU8(out, 0); // square pixels
    for (QRgb c : picture.palette) {
        putU8(out, static_cast<unsigned>(qRed(c)));
        putU8(out, static_cast<unsigned>(qGreen(c)));
        putU8(out, static_cast<unsigned>(qBlue(c)));
    }

    if (transparentIndex >= 0) {
        putU8(out, 0x21);
        putU8(out, 0xF9);
        putU8(out, 4);
        putU8(out, 0x01); // transparent colour flag, no disposal, no user input
        putU16(out, 0);   // no delay
        putU8(out, static_cast<unsigned>(transparentIndex));
        putU8(out, 0);
    }

    // Image descriptor: whole screen, no local table, not interlaced.
    putU8(out, 0x2C);
    putU16(out, 0);
    putU16(out, 0);
    putU16(out, static_cast<unsigned>(picture.width));
    putU16(out, static_cast<unsigned>(picture.height));
    putU8(out, 0);

    // LZW needs at least 2 bits even for a two-colour table.
    const int minCodeSize = tableBits < 2 ? 2 : tableBits;
    putU8(out, static_cast<unsigned>(minCodeSize));
    const QByteArray data = gifLzw(picture.pixels, minCodeSize);
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const qsizetype length = std::min<qsizetype>(255, data.size() - pos);
        putU8(out, static_cast<unsigned>(length));
        out.append(data.constData() + pos, length);
    }
    putU8(out, 0); // block terminator

    putU8(out, 0x3B); // trailer
    return out;
}

} // namespace assetgen
