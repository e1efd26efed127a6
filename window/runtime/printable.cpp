// printable.cpp: control and layout characters escaped, malformed UTF-8 replaced.
#include "printable.h"

namespace runtime {

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

// The characters past ASCII that are shown escaped: the C1 controls, and
// those that steer the layout unseen (U+061C, U+200E and U+200F, U+2028 to
// U+202E, U+2066 to U+2069, U+FEFF).
struct Range {
    char32_t first;
    char32_t last;
};
constexpr Range kUnseen[] = {
    {0x80, 0x9F},     {0x061C, 0x061C}, {0x200E, 0x200F},
    {0x2028, 0x202E}, {0x2066, 0x2069}, {0xFEFF, 0xFEFF},
};

bool unseen(char32_t code) {
    for (const Range& range : kUnseen) {
        if (code >= range.first && code <= range.last) {
            return true;
        }
    }
    return false;
}

// The code point of a well-formed sequence.
char32_t decode(std::string_view sequence) {
    constexpr unsigned char kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t code = static_cast<unsigned char>(sequence[0]) & kLeadBits[sequence.size()];
    for (size_t i = 1; i < sequence.size(); ++i) {
        code = (code << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3Fu);
    }
    return code;
}

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
            } else if (const char32_t code = decode(text.substr(i, length)); unseen(code)) {
                appendEscape(out, "\\u", code, 4);
            } else {
                out += text.substr(i, length);
            }
            i += length;
        }
    }
    return out;
}

} // namespace runtime
