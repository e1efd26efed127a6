// utf8.cpp: splitting captions into lines and characters.
#include "utf8.h"

namespace forms {

std::vector<std::string_view> splitLines(std::string_view caption) {
    std::vector<std::string_view> lines;
    for (;;) {
        const auto end = caption.find("\r\n");
        lines.push_back(caption.substr(0, end));
        if (end == std::string_view::npos) {
            return lines;
        }
        caption.remove_prefix(end + 2);
    }
}

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size()) {
            out.push_back(lead);
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(c);
        i += length;
    }
    return out;
}

} // namespace forms
