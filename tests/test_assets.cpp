// The committed pictures are read as raw bytes: the game and desktop loaders
// depend on their exact formats, and the generator must still reproduce them.

#include "assets.h"
#include "gif_writer.h"
#include "ico_writer.h"
#include "png_writer.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QByteArray readAsset(const char* name) {
    return readFile(QStringLiteral(YOPO_ASSETS_DIR "/") + QLatin1String(name));
}

// Out-of-range reads give 0 so a truncated file fails a comparison instead of
// crashing the test.
unsigned u8(const QByteArray& b, qsizetype at) {
    return at >= 0 && at < b.size() ? static_cast<unsigned char>(b.at(at)) : 0u;
}
unsigned le16(const QByteArray& b, qsizetype at) {
    return u8(b, at) | (u8(b, at + 1) << 8);
}
std::uint32_t le32(const QByteArray& b, qsizetype at) {
    return le16(b, at) | (static_cast<std::uint32_t>(le16(b, at + 2)) << 16);
}
unsigned be16(const QByteArray& b, qsizetype at) {
    return (u8(b, at) << 8) | u8(b, at + 1);
}

// --- .ico layout: 6-byte directory, one 16-byte entry, then the DIB.
constexpr qsizetype kIcoDib = 22;
constexpr qsizetype kIcoPalette = kIcoDib + 40;
constexpr qsizetype kIcoXor = kIcoPalette + 16 * 4;
constexpr qsizetype kIcoAnd = kIcoXor + 32 * 16;
constexpr qsizetype kIcoEnd = kIcoAnd + 32 * 4;

constexpr unsigned kIcoBlack = 0;
constexpr unsigned kIcoRed = 9;
constexpr unsigned kIcoYellow = 11;
constexpr unsigned kIcoWhite = 15;

QRgb icoPaletteEntry(const QByteArray& ico, unsigned index) {
    const qsizetype at = kIcoPalette + 4 * static_cast<qsizetype>(index);
    return qRgb(static_cast<int>(u8(ico, at + 2)), static_cast<int>(u8(ico, at + 1)),
                static_cast<int>(u8(ico, at)));
}

// Palette index of pixel (x, y), y counted from the top as on screen.
unsigned icoIndex(const QByteArray& ico, int x, int y) {
    const unsigned byte = u8(ico, kIcoXor + (31 - y) * 16 + x / 2);
    return x % 2 == 0 ? byte >> 4 : byte & 0x0Fu;
}

int icoCountInRow(const QByteArray& ico, int y, unsigned index) {
    int n = 0;
    for (int x = 0; x < 32; ++x) {
        n += icoIndex(ico, x, y) == index ? 1 : 0;
    }
    return n;
}

// --- GIF
constexpr QRgb kPink = qRgb(252, 31, 141);
constexpr QRgb kSilver = qRgb(192, 192, 192);
constexpr qsizetype kGifTable = 13;

QRgb gifTableEntry(const QByteArray& gif, int index) {
    const qsizetype at = kGifTable + 3 * index;
    return qRgb(static_cast<int>(u8(gif, at)), static_cast<int>(u8(gif, at + 1)),
                static_cast<int>(u8(gif, at + 2)));
}

struct GifBlocks {
    int controlExtensions = 0;
    unsigned controlFlags = 0;
    unsigned transparentIndex = 0;
    int applicationExtensions = 0;
    int images = 0;
    bool interlaced = false;
    bool localTable = false;
    bool endsWithTrailer = false;
};

// Walks the blocks after the global colour table, skipping data sub-blocks.
GifBlocks walkGif(const QByteArray& gif) {
    GifBlocks r;
    qsizetype pos = kGifTable;
    if (u8(gif, 10) & 0x80u) {
        pos += 3 * (qsizetype{2} << (u8(gif, 10) & 7u));
    }
    auto skipSubBlocks = [&gif](qsizetype& p) {
        while (p < gif.size()) {
            const unsigned n = u8(gif, p++);
            if (n == 0) {
                return true;
            }
            p += n;
        }
        return false;
    };
    while (pos < gif.size()) {
        const unsigned tag = u8(gif, pos++);
        if (tag == 0x3B) {
            r.endsWithTrailer = pos == gif.size();
            return r;
        }
        if (tag == 0x21) {
            const unsigned label = u8(gif, pos++);
            if (label == 0xF9) {
                ++r.controlExtensions;
                r.controlFlags = u8(gif, pos + 1);
                r.transparentIndex = u8(gif, pos + 4);
            } else if (label == 0xFF) {
                ++r.applicationExtensions;
            }
            if (!skipSubBlocks(pos)) {
                return r;
            }
        } else if (tag == 0x2C) {
            ++r.images;
            const unsigned flags = u8(gif, pos + 8);
            r.interlaced = r.interlaced || (flags & 0x40u);
            r.localTable = r.localTable || (flags & 0x80u);
            pos += 9;
            if (flags & 0x80u) {
                pos += 3 * (qsizetype{2} << (flags & 7u));
            }
            ++pos; // LZW minimum code size
            if (!skipSubBlocks(pos)) {
                return r;
            }
        } else {
            return r;
        }
    }
    return r;
}

// --- JPEG: the marker segments before the scan data.
struct JpegSegment {
    unsigned marker = 0;
    QByteArray body;
};

std::vector<JpegSegment> jpegHeaderSegments(const QByteArray& jpeg) {
    std::vector<JpegSegment> segments;
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && u8(jpeg, pos) == 0xFF) {
        const unsigned marker = u8(jpeg, pos + 1);
        const qsizetype length = be16(jpeg, pos + 2);
        segments.push_back({marker, jpeg.mid(pos + 4, length - 2)});
        if (marker == 0xDA) {
            break;
        }
        pos += 2 + length;
    }
    return segments;
}

bool isStartOfFrame(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Largest and mean per-channel difference of two same-size images.
std::pair<int, double> colourDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    long long total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                largest = std::max(largest, std::abs(d));
                total += std::abs(d);
            }
        }
    }
    return {largest, static_cast<double>(total) / (3.0 * a.width() * a.height())};
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void icon_holdsExactlyOne32x32SixteenColourImage();
    void icon_paletteIsTheClassicWindowsSixteen();
    void icon_maskLeavesEveryPixelOpaque();
    void icon_usesOnlyWhiteYellowRedAndBlack();
    void icon_showsHazeAndSteamAboveTheTub();
    void icon_decodesToTheSamePixels();

    void themeIcon_isTheWindowIconEnlarged_data();
    void themeIcon_isTheWindowIconEnlarged();

    void word_isA56x27Gif89aWith64Colours();
    void word_rampRunsFromWhiteToHotPink();
    void word_silverIsTheOnlyTransparentEntry();
    void word_isOneStillNonInterlacedFrame();
    void word_decodesToPinkInkOnTransparency();

    void portrait_isBaselineJfifWith420Sampling();

    void icoEncoder_roundTripsThroughQtsDecoder();
    void pngEncoder_roundTripsThroughQtsDecoder_data();
    void pngEncoder_roundTripsThroughQtsDecoder();
    void gifEncoder_roundTripsThroughQtsDecoder_data();
    void gifEncoder_roundTripsThroughQtsDecoder();

    void generator_reproducesTheCommittedFiles();
    void generator_reportsAMissingFolder();
};

// ---------------------------------------------------------------- icon

void TestAssets::icon_holdsExactlyOne32x32SixteenColourImage() {
    const QByteArray ico = readAsset(assetgen::kIconFile);
    QCOMPARE(ico.size(), kIcoEnd);
    QCOMPARE(le16(ico, 0), 0u); // reserved
    QCOMPARE(le16(ico, 2), 1u); // icon, not cursor
    QCOMPARE(le16(ico, 4), 1u); // one image
    QCOMPARE(u8(ico, 6), 32u);
    QCOMPARE(u8(ico, 7), 32u);
    QCOMPARE(u8(ico, 8), 16u);
    QCOMPARE(le16(ico, 10), 1u);
    QCOMPARE(le16(ico, 12), 4u);
    QCOMPARE(le32(ico, 14), static_cast<std::uint32_t>(kIcoEnd - kIcoDib));
    QCOMPARE(le32(ico, 18), static_cast<std::uint32_t>(kIcoDib));

    // BITMAPINFOHEADER, the height counting colour rows plus mask rows.
    QCOMPARE(le32(ico, kIcoDib), 40u);
    QCOMPARE(le32(ico, kIcoDib + 4), 32u);
    QCOMPARE(le32(ico, kIcoDib + 8), 64u);
    QCOMPARE(le16(ico, kIcoDib + 12), 1u);
    QCOMPARE(le16(ico, kIcoDib + 14), 4u);
    QCOMPARE(le32(ico, kIcoDib + 16), 0u); // uncompressed
}

void TestAssets::icon_paletteIsTheClassicWindowsSixteen() {
    const QByteArray ico = readAsset(assetgen::kIconFile);
    const QRgb expected[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    for (unsigned i = 0; i < 16; ++i) {
        QCOMPARE(icoPaletteEntry(ico, i), expected[i]);
        QCOMPARE(u8(ico, kIcoPalette + 4 * i + 3), 0u);
    }
}

void TestAssets::icon_maskLeavesEveryPixelOpaque() {
    const QByteArray ico = readAsset(assetgen::kIconFile);
    QCOMPARE(ico.size(), kIcoEnd);
    QCOMPARE(ico.mid(kIcoAnd), QByteArray(kIcoEnd - kIcoAnd, '\0'));
}

void TestAssets::icon_usesOnlyWhiteYellowRedAndBlack() {
    const QByteArray ico = readAsset(assetgen::kIconFile);
    QCOMPARE(ico.size(), kIcoEnd);
    std::set<unsigned> used;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            used.insert(icoIndex(ico, x, y));
        }
    }
    QCOMPARE(used, (std::set<unsigned>{kIcoBlack, kIcoRed, kIcoYellow, kIcoWhite}));
}

void TestAssets::icon_showsHazeAndSteamAboveTheTub() {
    const QByteArray ico = readAsset(assetgen::kIconFile);
    QCOMPARE(ico.size(), kIcoEnd);
    // The haze is a yellow and white checker along the top edge and is gone
    // by the middle; a picture stored upside down fails here.
    for (int x = 1; x < 32; ++x) {
        const unsigned left = icoIndex(ico, x - 1, 0);
        const unsigned right = icoIndex(ico, x, 0);
        if (left != kIcoBlack && right != kIcoBlack) {
            QVERIFY2(left != right, qPrintable(QStringLiteral("no checker at %1,0").arg(x)));
        }
    }
    for (int y = 16; y < 32; ++y) {
        QCOMPARE(icoCountInRow(ico, y, kIcoYellow), 0);
    }
    // Three wisps of steam reach the top edge.
    QCOMPARE(icoCountInRow(ico, 0, kIcoBlack), 3);
    // The tub's flat bottom lies one row above the lower edge, which stays white.
    QVERIFY(icoCountInRow(ico, 30, kIcoBlack) > 0);
    QCOMPARE(icoCountInRow(ico, 31, kIcoWhite), 32);
}

void TestAssets::icon_decodesToTheSamePixels() {
    const QByteArray ico = readAsset(assetgen::kIconFile);
    QImage decoded;
    QVERIFY(decoded.loadFromData(ico, "ICO"));
    QCOMPARE(decoded.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = decoded.pixel(x, y);
            QCOMPARE(qAlpha(pixel), 255);
            QCOMPARE(pixel | 0xFF000000u, icoPaletteEntry(ico, icoIndex(ico, x, y)));
        }
    }
}

// ---------------------------------------------------------------- theme icons

void TestAssets::themeIcon_isTheWindowIconEnlarged_data() {
    QTest::addColumn<int>("size");
    for (int size : assetgen::kThemeIconSizes) {
        QTest::addRow("%dx%d", size, size) << size;
    }
}

void TestAssets::themeIcon_isTheWindowIconEnlarged() {
    QFETCH(int, size);
    QImage icon;
    QVERIFY(icon.loadFromData(readAsset(assetgen::kIconFile), "ICO"));
    const QByteArray png = readAsset(qPrintable(assetgen::themeIconFileName(size)));
    QCOMPARE(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QImage theme;
    QVERIFY(theme.loadFromData(png, "PNG"));
    QCOMPARE(theme.size(), QSize(size, size));
    // Every pixel is the icon's pixel it enlarges: no smoothing, no shift,
    // no colour the icon does not have.
    const int factor = size / 32;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (theme.pixel(x, y) != icon.pixel(x / factor, y / factor)) {
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is not the icon's").arg(x).arg(y)));
            }
        }
    }
}

// ---------------------------------------------------------------- word

void TestAssets::word_isA56x27Gif89aWith64Colours() {
    const QByteArray gif = readAsset(assetgen::kWordFile);
    QCOMPARE(gif.left(6), QByteArray("GIF89a"));
    QCOMPARE(le16(gif, 6), 56u);
    QCOMPARE(le16(gif, 8), 27u);
    const unsigned flags = u8(gif, 10);
    QVERIFY(flags & 0x80u); // global colour table present
    QCOMPARE(2u << (flags & 7u), 64u);
}

void TestAssets::word_rampRunsFromWhiteToHotPink() {
    const QByteArray gif = readAsset(assetgen::kWordFile);
    QVERIFY(gif.size() > kGifTable + 64 * 3);
    QCOMPARE(gifTableEntry(gif, 0), qRgb(255, 255, 255));
    QCOMPARE(gifTableEntry(gif, 37), kPink);
    auto between = [](int value, int from, int to) {
        return std::min(from, to) <= value && value <= std::max(from, to);
    };
    for (int i = 1; i <= 37; ++i) {
        const QRgb before = gifTableEntry(gif, i - 1);
        const QRgb now = gifTableEntry(gif, i);
        QVERIFY2(now != before, qPrintable(QStringLiteral("ramp stalls at %1").arg(i)));
        QVERIFY2(between(qRed(now), qRed(before), qRed(kPink)) &&
                     between(qGreen(now), qGreen(before), qGreen(kPink)) &&
                     between(qBlue(now), qBlue(before), qBlue(kPink)),
                 qPrintable(QStringLiteral("ramp turns back at %1").arg(i)));
    }
}

void TestAssets::word_silverIsTheOnlyTransparentEntry() {
    const QByteArray gif = readAsset(assetgen::kWordFile);
    const GifBlocks blocks = walkGif(gif);
    QCOMPARE(blocks.controlExtensions, 1);
    QVERIFY(blocks.controlFlags & 0x01u);
    QVERIFY(blocks.transparentIndex > 37 && blocks.transparentIndex < 64);
    QCOMPARE(gifTableEntry(gif, static_cast<int>(blocks.transparentIndex)), kSilver);
}

void TestAssets::word_isOneStillNonInterlacedFrame() {
    const GifBlocks blocks = walkGif(readAsset(assetgen::kWordFile));
    QVERIFY(blocks.endsWithTrailer);
    QCOMPARE(blocks.images, 1);
    QVERIFY(!blocks.interlaced);
    QVERIFY(!blocks.localTable);
    QCOMPARE(blocks.applicationExtensions, 0); // no NETSCAPE looping block
}

void TestAssets::word_decodesToPinkInkOnTransparency() {
    const QByteArray gif = readAsset(assetgen::kWordFile);
    QImage decoded;
    QVERIFY(decoded.loadFromData(gif, "GIF"));
    QCOMPARE(decoded.size(), QSize(56, 27));
    std::set<QRgb> ramp;
    for (int i = 0; i <= 37; ++i) {
        ramp.insert(gifTableEntry(gif, i));
    }
    int inkLeft = 0;
    int inkRight = 0;
    QRect inkBounds;
    for (int y = 0; y < decoded.height(); ++y) {
        for (int x = 0; x < decoded.width(); ++x) {
            const QRgb pixel = decoded.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                continue;
            }
            QCOMPARE(qAlpha(pixel), 255);
            QVERIFY2(ramp.count(pixel | 0xFF000000u) == 1,
                     qPrintable(QStringLiteral("pixel %1,%2 is off the ramp").arg(x).arg(y)));
            (x < 28 ? inkLeft : inkRight) += 1;
            inkBounds |= QRect(x, y, 1, 1);
        }
    }
    // One character in each half, edge to edge.
    QVERIFY(inkLeft > 0 && inkRight > 0);
    QVERIFY(inkBounds.left() <= 1 && inkBounds.right() >= 54);
    QVERIFY(inkBounds.top() <= 1 && inkBounds.bottom() >= 25);
}

// ---------------------------------------------------------------- portrait

void TestAssets::portrait_isBaselineJfifWith420Sampling() {
    const QByteArray jpeg = readAsset(assetgen::kPortraitFile);
    QCOMPARE(be16(jpeg, 0), 0xFFD8u);
    QCOMPARE(be16(jpeg, jpeg.size() - 2), 0xFFD9u);
    const std::vector<JpegSegment> segments = jpegHeaderSegments(jpeg);
    QVERIFY(!segments.empty());
    QCOMPARE(segments.front().marker, 0xE0u);
    QCOMPARE(segments.front().body.left(5), QByteArray("JFIF", 5));
    QCOMPARE(segments.back().marker, 0xDAu);

    int frames = 0;
    for (const JpegSegment& s : segments) {
        if (!isStartOfFrame(s.marker)) {
            continue;
        }
        ++frames;
        QCOMPARE(s.marker, 0xC0u); // baseline: no progressive (C2) or other coding
        QCOMPARE(u8(s.body, 0), 8u);
        QCOMPARE(be16(s.body, 1), 131u);
        QCOMPARE(be16(s.body, 3), 99u);
        QCOMPARE(u8(s.body, 5), 3u);
        // Y, Cb, Cr with luma sampled 2x2 against each chroma sample: 4:2:0.
        QCOMPARE(u8(s.body, 6), 1u);
        QCOMPARE(u8(s.body, 7), 0x22u);
        QCOMPARE(u8(s.body, 9), 2u);
        QCOMPARE(u8(s.body, 10), 0x11u);
        QCOMPARE(u8(s.body, 12), 3u);
        QCOMPARE(u8(s.body, 13), 0x11u);
    }
    QCOMPARE(frames, 1);
}

// ---------------------------------------------------------------- encoders

void TestAssets::icoEncoder_roundTripsThroughQtsDecoder() {
    // No two pixels of a row or column share a colour, so swapped nibbles, rows
    // or palette channels all show.
    assetgen::IndexedPicture picture;
    picture.width = 16;
    picture.height = 8;
    for (int i = 0; i < 16; ++i) {
        picture.palette.push_back(qRgb(i * 16, 255 - i * 9, (i * 5) % 16 * 16));
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.pixels.push_back(static_cast<std::uint8_t>((x + 3 * y) % 16));
        }
    }
    QImage decoded;
    QVERIFY(decoded.loadFromData(assetgen::encodeIco16(picture), "ICO"));
    QCOMPARE(decoded.size(), QSize(16, 8));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            QCOMPARE(decoded.pixel(x, y), picture.palette[picture.at(x, y)]);
        }
    }
}

void TestAssets::pngEncoder_roundTripsThroughQtsDecoder_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours");

    QTest::newRow("single pixel") << 1 << 1 << 2;
    // An odd width leaves half of each row's last byte unused.
    QTest::newRow("odd width, two pixels a byte") << 7 << 5 << 16;
    QTest::newRow("more than 16 colours, a byte a pixel") << 33 << 9 << 200;
    // Over 65535 bytes of rows: the data needs more than one stored block.
    QTest::newRow("several deflate blocks") << 600 << 300 << 16;
}

void TestAssets::pngEncoder_roundTripsThroughQtsDecoder() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);

    assetgen::IndexedPicture picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < colours; ++i) {
        picture.palette.push_back(qRgb(i * 13 % 256, 255 - i, (i * 71) % 256));
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels.push_back(static_cast<std::uint8_t>((x * 7 + y * 3) % colours));
        }
    }
    QImage decoded;
    QVERIFY(decoded.loadFromData(assetgen::encodePng(picture), "PNG"));
    QCOMPARE(decoded.size(), QSize(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (decoded.pixel(x, y) != picture.palette[picture.at(x, y)]) {
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
            }
        }
    }
}

void TestAssets::gifEncoder_roundTripsThroughQtsDecoder_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours");
    QTest::addColumn<bool>("noisy");
    QTest::addColumn<int>("transparent");

    QTest::newRow("single pixel") << 1 << 1 << 2 << false << -1;
    QTest::newRow("two colours, smallest code size") << 9 << 7 << 2 << true << -1;
    QTest::newRow("long runs grow the codes to 12 bits") << 300 << 200 << 16 << false << -1;
    // Noise fills the 4096-entry table many times over, so the encoder has to
    // send clear codes mid-stream.
    QTest::newRow("noise forces table resets") << 200 << 150 << 256 << true << -1;
    QTest::newRow("with a transparent entry") << 40 << 30 << 64 << true << 5;
}

void TestAssets::gifEncoder_roundTripsThroughQtsDecoder() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);
    QFETCH(bool, noisy);
    QFETCH(int, transparent);

    assetgen::IndexedPicture picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < colours; ++i) {
        picture.palette.push_back(qRgb(i * 7 % 256, 255 - i, (i * 53) % 256));
    }
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int index = noisy ? static_cast<int>(state >> 24) % colours
                                    : ((x / 13) + (y / 7) * 3) % colours;
            picture.pixels.push_back(static_cast<std::uint8_t>(index));
        }
    }

    QImage decoded;
    QVERIFY(decoded.loadFromData(assetgen::encodeGif(picture, transparent), "GIF"));
    QCOMPARE(decoded.size(), QSize(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int index = picture.at(x, y);
            const QRgb pixel = decoded.pixel(x, y);
            if (index == transparent) {
                QCOMPARE(qAlpha(pixel), 0);
            } else {
                QCOMPARE(pixel, picture.palette[static_cast<std::size_t>(index)]);
            }
        }
    }
}

// ---------------------------------------------------------------- generator

void TestAssets::generator_reproducesTheCommittedFiles() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(assetgen::writeAll(dir.path()), QString());

    // Our own encoders: byte for byte.
    QStringList ours = {QLatin1String(assetgen::kIconFile), QLatin1String(assetgen::kWordFile)};
    for (int size : assetgen::kThemeIconSizes) {
        ours.push_back(assetgen::themeIconFileName(size));
    }
    for (const QString& name : ours) {
        const QByteArray fresh = readFile(dir.filePath(name));
        QVERIFY2(!fresh.isEmpty(), qPrintable(name));
        QVERIFY2(fresh == readAsset(qPrintable(name)),
                 qPrintable(QStringLiteral("%1 is stale: rebuild the 'assets' target").arg(name)));
    }

    // The JPEG's bytes come from the system's libjpeg, whose encoder may round a
    // little differently from one release to the next; compare what it decodes to,
    // which still catches any change to the drawing.
    QImage fresh;
    QImage committed;
    QVERIFY(fresh.load(dir.filePath(QLatin1String(assetgen::kPortraitFile)), "JPG"));
    QVERIFY(committed.loadFromData(readAsset(assetgen::kPortraitFile), "JPG"));
    QCOMPARE(fresh.size(), committed.size());
    const auto [largest, mean] = colourDifference(fresh, committed);
    QVERIFY2(largest <= 24 && mean <= 0.5,
             qPrintable(QStringLiteral("portrait differs (max %1, mean %2): rebuild 'assets'")
                            .arg(largest)
                            .arg(mean)));
}

void TestAssets::generator_reportsAMissingFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("not-there"));
    QVERIFY(!assetgen::writeAll(missing).isEmpty());
    QVERIFY(!QFile::exists(missing));
}

QTEST_GUILESS_MAIN(TestAssets)
#include "test_assets.moc"
