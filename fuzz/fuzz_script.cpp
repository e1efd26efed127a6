// fuzz_script.cpp: any bytes as a yopo-headless script, played as a whole game.
#include "script.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

// Enough for every golden game (the longest line fills for 384 ticks, the
// longest game is 18 lines) and the shake after it, and little enough that no
// input plays for long: 16,000 ticks at most, a tenth of a second or less
// under the sanitizers.
constexpr long long kMostTicksPerLine = 500;
constexpr size_t kMostLines = 32;

// The script's first kMostLines lines.
std::string_view firstLines(std::string_view script) {
    size_t end = 0;
    for (size_t line = 0; line < kMostLines; ++line) {
        end = script.find('\n', end);
        if (end == std::string_view::npos) {
            return script;
        }
        ++end;
    }
    return script.substr(0, end);
}

// Whether a message is one clean line: well-formed UTF-8 with no control
// character, C0 or C1, but the LF that ends it. Checked by decoding, apart
// from how the reader escapes.
bool isOneCleanLine(std::string_view message) {
    if (message.empty() || message.back() != '\n') {
        return false;
    }
    message.remove_suffix(1);
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000}; // by length, against overlong forms
    for (size_t i = 0; i < message.size();) {
        const auto lead = static_cast<unsigned char>(message[i]);
        const size_t length = lead < 0x80   ? 1
                              : lead < 0xC0 ? 0
                              : lead < 0xE0 ? 2
                              : lead < 0xF0 ? 3
                              : lead < 0xF8 ? 4
                                            : 0;
        if (length == 0 || i + length > message.size()) {
            return false;
        }
        char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(message[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            c = (c << 6) | (next & 0x3Fu);
        }
        if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c < 0x20 ||
            (c >= 0x7F && c <= 0x9F)) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    // Keeping and taking up a bath touch files; the bath's reader has a
    // target of its own.
    if (script.find("save") != std::string_view::npos) {
        return 0;
    }
    std::istringstream in{std::string(firstLines(script))};
    std::ostringstream out;
    std::ostringstream err;
    const int status = replay::runScript(in, out, err, kMostTicksPerLine);
    // A script played to its end says nothing; one that stops says why, in
    // one line that cannot drive the terminal.
    const bool saysRight =
        status == replay::kScriptDone ? err.str().empty()
        : status == replay::kScriptRunTimeError || status == replay::kScriptBadLine
            ? isOneCleanLine(err.str())
            : false;
    if (!saysRight) {
        std::abort();
    }
    return 0;
}
