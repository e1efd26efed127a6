#pragma once

#include "indexed_picture.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace assetgen {

// The file names the game loads from its assets folder.
inline constexpr const char* kIconFile = "yopo.ico";
inline constexpr const char* kWordFile = "yopo-word.gif";
inline constexpr const char* kPortraitFile = "portrait.jpg";

// Window icon: 32 x 32 over the classic 16-colour palette.
IndexedPicture iconPicture();
QByteArray iconFile();

// The word ヨポ, 56 x 27, in a 64-entry white-to-pink table plus transparent silver.
inline constexpr int kWordRampLast = 37;
inline constexpr int kWordTransparent = 38;
IndexedPicture wordPicture();
QByteArray wordPictureFile();

// The portrait, 99 x 131, as drawn and as the JPEG written from it.
QImage portraitImage();
QByteArray portraitFile();

// The window icon for the desktop's icon theme and the web page's manifest, as
// PNG files: the 32 x 32 picture itself, and enlargements by whole numbers,
// every pixel a square block, so that they stay faithful to it. An installed
// web app asks for 192 and 512.
inline constexpr int kThemeIconSizes[] = {32, 64, 128, 192, 256, 512};
QString themeIconFileName(int size);
QByteArray themeIconFile(int size);

// Writes all the files into dir (which must exist). Returns an empty string on
// success, otherwise what went wrong.
QString writeAll(const QString& dir);

} // namespace assetgen
