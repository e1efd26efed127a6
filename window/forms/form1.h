// form1.h: the game's one window, ヨポ, with its 36 controls.
#pragma once

#include "form.h"

namespace forms {

// The window as it is created. The game reaches each control by its name;
// the members below are the ones the game changes or reads.
class Form1 : public Form {
public:
    Form1();

    CommandButton& Command1;
    CommandButton& Command2;
    CommandButton& Command3;
    Timer& Timer1;
    Label& Lbl_msg;
    Shape& Shp_water;
    Line& Line_water;
    Line& Line0;
    Line& Line1;
};

// The light cyan of the water, as the tub is laid out; the flood flashes
// the window in it too.
inline constexpr Colour kWaterColour = 0xFFFFC0;

// Names of the embedded pictures.
inline constexpr const char* kWindowIcon = "yopo.ico";
inline constexpr const char* kWordPicture = "yopo-word.gif";
inline constexpr const char* kPortrait = "portrait.jpg";

} // namespace forms
