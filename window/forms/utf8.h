// utf8.h: captions are UTF-8; these split them into lines and characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The lines of a caption, split at its CR LF pairs. An empty caption is one
// empty line, and so is the space after a trailing CR LF.
std::vector<std::string_view> splitLines(std::string_view caption);

// The caption's characters; a malformed byte stands for itself.
std::u32string decodeUtf8(std::string_view text);

} // namespace forms
