// printable.h: whatever a program was handed (an argument, a script's line)
// as a terminal can safely show it.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

// The text as one clean line, escaped as C and printf(1) write them: a
// control character as \xHH (ESC as \x1b, CR as \x0d), a C1 control as \uHHHH,
// a backslash as \\, and each malformed UTF-8 sequence as U+FFFD. So are the
// characters that steer a terminal's layout without showing, as \uHHHH: the
// bidirectional controls, which reorder what follows them, the line and
// paragraph separators, and the byte order mark. Every other character,
// Japanese included, stays as it is. So a bad line quoted in a message can
// neither retitle the terminal, nor split the message, nor disguise it.
std::string printable(std::string_view text);

} // namespace runtime
