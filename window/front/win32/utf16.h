// utf16.h: the model's UTF-8 text as the wide strings Win32 takes, and back.
#pragma once

#include <string>
#include <string_view>

namespace front::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

} // namespace front::win32
