// The window icon: a bath (ヨポ over a tub, steam rising into a yellow haze),
// hand-placed pixel by pixel because at 32 x 32 every pixel shows.

#include "assets.h"
#include "ico_writer.h"
#include "png_writer.h"

#include <array>
#include <stdexcept>

namespace assetgen {

namespace {

// The classic Windows 16-colour palette, in its usual order.
constexpr std::array<QRgb, 16> kWindowsPalette = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kRed = 9;
constexpr std::uint8_t kYellow = 11;
constexpr std::uint8_t kWhite = 15;

// K black (steam, tub), R red (the word), '.' the white ground the haze goes on.
// ヨ on the left, ポ on the right with its small circle up at the top right.
// clang-format off
constexpr std::array<const char*, 32> kPixelMap = {
    "........K.......K.......K.......",
    ".........K.......K.......K......",
    "..........K.......K.......K.....",
    "..........K.......K.......K.....",
    ".........K.......K.......K......",
    "........K.......K.......K.......",
    ".......K.......K.......K........",
    "......K.......K.......K.........",
    "......K.......K.......K.........",
    ".......K.......K.......K........",
    "........K.......K.......K...RR..",
    "...........................R..R.",
    "...RRRRRRRRRR..........R...R..R.",
    "............R..........R....RR..",
    "............R..........R........",
    "............R....RRRRRRRRRRRR...",
    "............R..........R........",
    "............R..........R........",
    "....RRRRRRRRR.......R..R..R.....",
    "............R......R...R...R....",
    "............R.....R....R....R...",
    "............R....R.....R.....R..",
    "............R........R.R........",
    "............R.........RR........",
    "...RRRRRRRRRR..........R........",
    ".K............................K.",
    ".K............................K.",
    "..K..........................K..",
    "...K........................K...",
    "....KK....................KK....",
    "......KKKKKKKKKKKKKKKKKKKK......",
    "................................",
};
// clang-format on

// 4 x 4 ordered-dither thresholds: a level of n yellow pixels per 16 gives an
// even, regular sprinkle, and level 8 is a plain checkerboard.
constexpr int kBayer[4][4] = {
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
};

// The warm haze: a checker along the top, one step thinner every two rows, gone
// by the middle of the icon.
bool hazeAt(int x, int y) {
    const int level = 8 - y / 2;
    return level > 0 && kBayer[y % 4][x % 4] < level;
}

} // namespace

IndexedPicture iconPicture() {
    IndexedPicture picture;
    picture.width = 32;
    picture.height = 32;
    picture.palette.assign(kWindowsPalette.begin(), kWindowsPalette.end());
    picture.pixels.reserve(std::size_t{32} * 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            switch (kPixelMap[static_cast<std::size_t>(y)][x]) {
            case 'K':
                picture.pixels.push_back(kBlack);
                break;
            case 'R':
                picture.pixels.push_back(kRed);
                break;
            case '.':
                picture.pixels.push_back(hazeAt(x, y) ? kYellow : kWhite);
                break;
            default:
                throw std::logic_error("icon pixel map: unknown character");
            }
        }
    }
    return picture;
}

QByteArray iconFile() {
    return encodeIco16(iconPicture());
}

QString themeIconFileName(int size) {
    return QStringLiteral("yopo-%1.png").arg(size);
}

QByteArray themeIconFile(int size) {
    const IndexedPicture icon = iconPicture();
    if (size % icon.width != 0) {
        throw std::invalid_argument("theme icon: not a whole multiple of the icon");
    }
    return encodePng(enlarged(icon, size / icon.width));
}

} // namespace assetgen
