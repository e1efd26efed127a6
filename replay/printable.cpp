// printable.cpp: control characters escaped, malformed UTF-8 replaced.
#include "printable.h"

namespace yopo {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

// An escape such as \x1b: the prefix, then the code in as many hex digits.
void appendEscape(std::string& out, std::string_view prefix, unsigned code, int digits) {
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += "0123456789abcdef"[(code >> shift) & 0xFu];
    }
}

// How long the sequence a lead byte starts is, and which bytes may follow it
// next, so that overlong forms, surrogates and code points past U+10FFFF are
// all malformed. A length of 0: the byte starts no sequence.
struct Lead {
    int length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

Lead leadOf(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) {
        return {2};
    }
    if (byte == 0xE0) {
        return {3, 0xA0};
    }
    if (byte == 0xED) {
        return {3, 0x80, 0x9F};
    }
    if (byte >= 0xE1 && byte <= 0xEF) {
        return {3};
    }
    if (byte == 0xF0) {
        return {4, 0x90};
    }
    if (byte == 0xF4) {
        return {4, 0x80, 0x8F};
    }
    if (byte >= 0xF1 && byte <= 0xF3) {
        return {4};
    }
    return {0};
}

} // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\\') {
            out += "\\\\";
            ++i;
        } else if (byte < 0x20 || byte == 0x7F) {
            appendEscape(out, "\\x", byte, 2);
            ++i;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
        } else {
            // As much of a sequence as is well formed; a broken one counts as
            // one malformed sequence, a stray byte as another.
            const Lead lead = leadOf(byte);
            size_t length = 1;
            while (length < static_cast<size_t>(lead.length) && i + length < text.size()) {
                const auto next = static_cast<unsigned char>(text[i + length]);
                const bool fits = length == 1 ? next >= lead.low && next <= lead.high
                                              : next >= 0x80 && next <= 0xBF;
                if (!fits) {
                    break;
                }
                ++length;
            }
            if (length != static_cast<size_t>(lead.length)) {
                out += kReplacementCharacter;
            } else if (const auto second = static_cast<unsigned char>(text[i + 1]);
                       byte == 0xC2 && second < 0xA0) {
                // U+0080 to U+009F, the C1 controls, which some terminals obey:
                // C2 80 to C2 9F, the code point being the second byte.
                appendEscape(out, "\\u", second, 4);
            } else {
                out += text.substr(i, length);
            }
            i += length;
        }
    }
    return out;
}

} // namespace yopo
