// The title word ヨポ as a brush-written picture. The strokes are our own vector
// paths rather than a font so the picture never depends on what is installed.

#include "assets.h"
#include "brush.h"
#include "gif_writer.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <cmath>

namespace assetgen {

namespace {

constexpr int kWidth = 56;
constexpr int kHeight = 27;
constexpr int kCellWidth = kWidth / 2;
constexpr int kPaletteSize = 64;
constexpr QRgb kPink = qRgb(252, 31, 141);
constexpr QRgb kSilver = qRgb(192, 192, 192);

// Each character is designed in a 100 x 100 box; the box is then stretched over
// its half of the picture.
constexpr double kDesign = 100.0;

// Rendering this many sub-pixels per pixel each way turns the aliased fill into
// a coverage value per pixel.
constexpr int kSubSamples = 8;

struct Glyph {
    std::vector<BrushStroke> strokes;
    std::vector<QPainterPath> extras;
};

Glyph glyphYo() {
    Glyph g;
    // Top stroke, turning down at the right into the long vertical.
    g.strokes.push_back({spineFrom({10, 11}, {84, 9}, 1.5), 15, 14, -2.5});
    g.strokes.push_back({spineFrom({85, 10}, {84, 90}, -1), 17, 15, -2});
    g.strokes.push_back({spineFrom({17, 50}, {81, 48}, 1), 14, 13, -2});
    g.strokes.push_back({spineFrom({8, 90}, {86, 88}, 1.5), 15, 15, -2.5});
    // Where the brush lands at the start of each horizontal, and the shoulder it
    // leaves at the turn.
    g.extras.push_back(pressMark({12, 12}, 19, 14, 35));
    g.extras.push_back(pressMark({19, 51}, 17, 13, 35));
    g.extras.push_back(pressMark({10, 91}, 18, 14, 35));
    g.extras.push_back(pressMark({86, 12}, 21, 15, 50));
    return g;
}

Glyph glyphPo() {
    Glyph g;
    // ホ: the crossbar, the vertical with its flick to the left, and the two dots.
    g.strokes.push_back({spineFrom({6, 36}, {86, 34}, 1.5), 14, 13, -2.5});
    g.strokes.push_back({spineFrom({48, 7}, {48, 85}, 0), 16, 15, -2});
    g.strokes.push_back({spineFrom({48, 87}, {38, 80}, 0), 12, 4, 0});
    g.strokes.push_back({spineFrom({28, 53}, {9, 82}, -3), 13, 8, 1});
    g.strokes.push_back({spineFrom({66, 54}, {88, 80}, -3), 9, 16, 1});
    g.extras.push_back(pressMark({8, 37}, 17, 13, 35));
    g.extras.push_back(pressMark({49, 9}, 18, 14, 60));
    // The small circle at the upper right.
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addEllipse(QPointF(86, 13), 13, 13);
    ring.addEllipse(QPointF(86, 13), 6.5, 6.5);
    g.extras.push_back(ring);
    return g;
}

std::vector<QRgb> wordPalette() {
    std::vector<QRgb> palette(kPaletteSize, qRgb(0, 0, 0));
    for (int i = 0; i <= kWordRampLast; ++i) {
        const double t = static_cast<double>(i) / kWordRampLast;
        auto mix = [t](int from, int to) {
            return static_cast<int>(std::lround(from + (to - from) * t));
        };
        palette[static_cast<std::size_t>(i)] =
            qRgb(mix(255, qRed(kPink)), mix(255, qGreen(kPink)), mix(255, qBlue(kPink)));
    }
    palette[kWordTransparent] = kSilver;
    return palette;
}

// Ink coverage 0..1 per pixel.
std::vector<double> inkCoverage() {
    QImage canvas(kWidth * kSubSamples, kHeight * kSubSamples, QImage::Format_Alpha8);
    canvas.fill(0);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const Glyph glyphs[2] = {glyphYo(), glyphPo()};
        for (int cell = 0; cell < 2; ++cell) {
            QTransform toCanvas;
            toCanvas.scale(kSubSamples, kSubSamples);
            toCanvas.translate(cell * kCellWidth, 0);
            toCanvas.scale(kCellWidth / kDesign, kHeight / kDesign);
            painter.setTransform(toCanvas);
            for (const BrushStroke& stroke : glyphs[cell].strokes) {
                for (const QPainterPath& shape : strokeShapes(stroke)) {
                    painter.fillPath(shape, Qt::black);
                }
            }
            for (const QPainterPath& shape : glyphs[cell].extras) {
                painter.fillPath(shape, Qt::black);
            }
        }
    }
    std::vector<double> coverage(kWidth * kHeight, 0.0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int inked = 0;
            for (int sy = 0; sy < kSubSamples; ++sy) {
                const uchar* row = canvas.constScanLine(y * kSubSamples + sy);
                for (int sx = 0; sx < kSubSamples; ++sx) {
                    inked += row[x * kSubSamples + sx] >= 128 ? 1 : 0;
                }
            }
            coverage[static_cast<std::size_t>(y * kWidth + x)] =
                static_cast<double>(inked) / (kSubSamples * kSubSamples);
        }
    }
    return coverage;
}

} // namespace

IndexedPicture wordPicture() {
    IndexedPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    picture.palette = wordPalette();
    for (double c : inkCoverage()) {
        // Untouched pixels are see-through; a partly inked one gets the tint that
        // pink at that coverage would give over white.
        const long index = c <= 0 ? kWordTransparent : std::lround(c * kWordRampLast);
        picture.pixels.push_back(static_cast<std::uint8_t>(index < 1 ? 1 : index));
    }
    return picture;
}

QByteArray wordPictureFile() {
    return encodeGif(wordPicture(), kWordTransparent);
}

} // namespace assetgen
