// japanese_font.h: the face the window's text and buttons are drawn in.
#pragma once

#include <windows.h>

#include <string>

namespace front::win32 {

// The first installed face of the list, the closest first: gothic faces in
// which every full-width character is one em wide, as the layout's labels
// were measured. Empty when none is installed (the system then substitutes).
const std::wstring& japaneseFace();

// The form's font with an em (ascent plus descent) of `emPixels` device pixels.
HFONT createFormFont(int emPixels, bool bold);

} // namespace front::win32
