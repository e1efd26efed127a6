// form1.cpp: the layout of the ヨポ window, one row per control in overlap order.
#include "form1.h"

namespace forms {

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kLightGrey = 0xE0E0E0;
constexpr Colour kTubBrown = 0x404080;

constexpr bool kHidden = false;
constexpr ShapeKind kRectangle = ShapeKind::Rectangle;
constexpr ShapeKind kRounded = ShapeKind::RoundedRectangle;
constexpr BackStyle kTransparent = BackStyle::Transparent;
constexpr BackStyle kOpaque = BackStyle::Opaque;
constexpr BorderStyle kNoBorder = BorderStyle::Transparent;
constexpr BorderStyle kSolid = BorderStyle::Solid;

// The first row is drawn over every later one; push buttons lie above all
// drawing. Lines and the shape border not given a colour take the system's
// window-text colour.
// clang-format off
const ControlRow kForm1Layout[] = {
    //  #   name                           caption       left  top   width height  tab  shown
    /*  1 */ {"Command3",   ButtonProperties{"次へ",       {3960, 1560,  615,  255}, 4, kHidden}},
    //                                    enabled interval
    /*  2 */ {"Timer1",     TimerProperties{false,  6000}},
    /*  3 */ {"Command2",   ButtonProperties{"沸かす",     {5655, 4320, 1215,  375}, 1}},
    /*  4 */ {"Command1",   ButtonProperties{"水を入れる", {5655, 3600, 1215,  375}, 0}},
    //                                   x1    y1    x2    y2    colour        width  style
    /*  5 */ {"Line2",      LineProperties{4440, 5040,  360, 5040, kTubBrown,    3}},            // tub, front floor edge
    /*  6 */ {"Line3",      LineProperties{ 360, 3000, 4440, 3000, kTubBrown,    3}},            // tub, front rim
    /*  7 */ {"Line_water", LineProperties{1140, 2685, 1140, 4900, kWaterColour, 2, kNoBorder}}, // the stream, off until the tap opens
    /*  8 */ {"Line18",     LineProperties{1080, 2640, 1200, 2640}},                             // tap, mouth
    /*  9 */ {"Line10",     LineProperties{1080, 2520, 1080, 2640}},                             // tap, spout, left side
    /* 10 */ {"Line8",      LineProperties{1200, 2400, 1200, 2640}},                             // tap, spout, right side
    /* 11 */ {"Line7",      LineProperties{ 360, 2520, 1080, 2520}},                             // tap, pipe, lower side
    /* 12 */ {"Line6",      LineProperties{ 360, 2400, 1200, 2400}},                             // tap, pipe, upper side
    //                                    shape           left  top   width height   back colour   back style    border
    /* 13 */ {"Shape4",     ShapeProperties{kRectangle, {1080, 2400,  135,  255}, kLightGrey,   kOpaque,      kNoBorder}}, // tap, spout fill
    /* 14 */ {"Shape3",     ShapeProperties{kRectangle, { 360, 2400,  855,  135}, kLightGrey,   kOpaque,      kNoBorder}}, // tap, pipe fill
    /* 15 */ {"Shape2",     ShapeProperties{kRectangle, {5400, 3360, 1695, 1575}, kLightGrey,   kOpaque,      kNoBorder}}, // the buttons' panel
    /* 16 */ {"Line4",      LineProperties{4440, 3000, 4440, 5040, kTubBrown,    3}},            // tub, front right edge
    //                                    caption        left  top  width height  tab  auto size  back style
    /* 17 */ {"Lbl_msg",    LabelProperties{"Label2",     {600,  600, 495,  180},  3,   true,      kTransparent}},
    /* 18 */ {"Line5",      LineProperties{4920, 1320, 4920, 1560, kWhite,       1}},            // gap in the balloon's border where the tail joins
    /* 19 */ {"Shape1",     ShapeProperties{kRounded,   { 360,  360, 4575, 1575}, kWhite,       kTransparent, kSolid}},    // the speech balloon
    //                                     left  top   width height  picture       what it shows
    /* 20 */ {"Image2",     ImageProperties{{5820, 2880,  840,  405}, kWordPicture, "ヨポ"}},
    /* 21 */ {"Line21",     LineProperties{ 840, 4920, 4920, 4920}},                             // tub, back floor edge (inner)
    /* 22 */ {"Line20",     LineProperties{ 360, 5040,  840, 4920}},                             // tub, left floor edge, receding (inner)
    /* 23 */ {"Line1",      LineProperties{4320, 5160, 5160, 4920, kWhite,       5}},            // cover over the water's lower right corner
    /* 24 */ {"Line16",     LineProperties{4920, 4920, 4440, 5040, kTubBrown,    3}},            // tub, right floor edge, receding
    /* 25 */ {"Line15",     LineProperties{4920, 2880, 4920, 4920, kTubBrown,    3}},            // tub, back right edge
    /* 26 */ {"Line14",     LineProperties{4920, 2880, 4440, 3000, kTubBrown,    3}},            // tub, right rim edge, receding
    /* 27 */ {"Line13",     LineProperties{4920, 2880,  840, 2880, kTubBrown,    3}},            // tub, back rim
    /* 28 */ {"Line12",     LineProperties{ 840, 2880,  360, 3000, kTubBrown,    3}},            // tub, left rim edge, receding
    /* 29 */ {"Line11",     LineProperties{4920, 1560, 5280, 1440}},                             // balloon tail, lower side
    /* 30 */ {"Line9",      LineProperties{4920, 1320, 5280, 1440}},                             // balloon tail, upper side
    /* 31 */ {"Label1",     LabelProperties{"ヨポの達人", {5800, 2160, 900,  180},  2,   true,      kTransparent}},
    /* 32 */ {"Image1",     ImageProperties{{5520,  120, 1485, 1965}, kPortrait,    "ヨポの達人の似顔絵"}},
    /* 33 */ {"Line17",     LineProperties{ 360, 3000,  360, 5040, kTubBrown,    3}},            // tub, front left edge
    /* 34 */ {"Line19",     LineProperties{ 840, 2880,  840, 4920}},                             // tub, back left edge (inner)
    /* 35 */ {"Line0",      LineProperties{ 120, 5040, 1080, 4800, kWhite,       8}},            // cover over the water's upper left corner; rises with it
    /* 36 */ {"Shp_water",  ShapeProperties{kRectangle, { 360, 5040, 4575,   15}, kWaterColour, kOpaque,      kNoBorder}}, // the water
};
// clang-format on

const FormProperties kForm1Window = {
    .caption = "ヨポ",
    .backColor = kWhite,
    .clientWidth = 7275,
    .clientHeight = 5355,
    .icon = kWindowIcon,
};

} // namespace

Form1::Form1()
    : Form(kForm1Window, kForm1Layout), Command1(named<CommandButton>("Command1")),
      Command2(named<CommandButton>("Command2")), Command3(named<CommandButton>("Command3")),
      Timer1(named<Timer>("Timer1")), Lbl_msg(named<Label>("Lbl_msg")),
      Shp_water(named<Shape>("Shp_water")), Line_water(named<Line>("Line_water")),
      Line0(named<Line>("Line0")), Line1(named<Line>("Line1")) {}

} // namespace forms
