#pragma once

#include <QByteArray>

#include <cstdint>

namespace assetgen {

// Both .ico and .gif store their integers little-endian.
inline void putU8(QByteArray& out, unsigned value) {
    out.append(static_cast<char>(value & 0xFFu));
}

inline void putU16(QByteArray& out, unsigned value) {
    putU8(out, value);
    putU8(out, value >> 8);
}

inline void putU32(QByteArray& out, std::uint32_t value) {
    putU16(out, value & 0xFFFFu);
    putU16(out, value >> 16);
}

} // namespace assetgen
