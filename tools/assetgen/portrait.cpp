// The portrait: a cartoon young man, head and shoulders, drawn with antialiased
// paths and black outlines, then saved as a baseline JPEG.

#include "assets.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <stdexcept>

namespace assetgen {

namespace {

constexpr int kWidth = 99;
constexpr int kHeight = 131;
// Drawn this many times larger, then scaled down, for clean thin lines.
constexpr int kOversample = 4;
constexpr double kMidX = kWidth / 2.0;

const QColor kInk(24, 20, 22);
const QColor kSkin(255, 219, 186);
const QColor kSkinShade(240, 182, 146);
const QColor kSkinDeepShade(226, 160, 126);
const QColor kHair(22, 20, 24);
const QColor kHairShine(70, 68, 80);
const QColor kShirtWhite(255, 255, 255);
const QColor kShirtShade(226, 228, 236);
const QColor kPlaidBase(248, 236, 168);
const QColor kPlaidBand(236, 214, 124);
const QColor kPlaidLine(214, 180, 88);
const QColor kPlaidLight(255, 250, 220);

constexpr double kOutline = 1.1;

QPen outlinePen(double width = kOutline) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Mirror of a path about the vertical centre line of the picture.
QPainterPath mirrored(const QPainterPath& path) {
    QTransform flip;
    flip.translate(kWidth, 0);
    flip.scale(-1, 1);
    return flip.map(path);
}

QPainterPath bodyShape() {
    QPainterPath p;
    p.moveTo(-6, kHeight + 6);
    p.lineTo(-6, 120);
    p.cubicTo(0, 110, 14, 104, 30, 101);
    p.cubicTo(38, 99.5, 61, 99.5, 69, 101);
    p.cubicTo(85, 104, 99, 110, kWidth + 6, 120);
    p.lineTo(kWidth + 6, kHeight + 6);
    p.closeSubpath();
    return p;
}

QPainterPath neckShape() {
    QPainterPath p;
    p.moveTo(38.5, 80);
    p.cubicTo(39, 90, 38.5, 98, 36.5, 104);
    p.cubicTo(44, 108, 55, 108, 62.5, 104);
    p.cubicTo(60.5, 98, 60, 90, 60.5, 80);
    p.closeSubpath();
    return p;
}

// The viewer's left half of the open shirt; the other half is its mirror.
QPainterPath shirtPanelLeft() {
    QPainterPath p;
    p.moveTo(-6, kHeight + 6);
    p.lineTo(-6, 120);
    p.cubicTo(0, 110, 14, 104, 28, 101);
    p.lineTo(33, 100);
    p.cubicTo(35, 108, 36, 118, 35, kHeight + 6);
    p.closeSubpath();
    return p;
}

QPainterPath collarLeft() {
    QPainterPath p;
    p.moveTo(35, 96);
    p.cubicTo(30, 99, 25, 102, 21, 106);
    p.cubicTo(25, 110, 30, 115, 35, 120);
    p.cubicTo(36, 113, 37, 106, 38, 101);
    p.closeSubpath();
    return p;
}

QPainterPath faceShape() {
    QPainterPath p;
    p.moveTo(kMidX, 18);
    p.cubicTo(66, 18, 75, 30, 75, 48);
    p.cubicTo(75, 62, 73, 72, 67, 80);
    p.cubicTo(62, 87, 56, 92, kMidX, 92);
    p.cubicTo(43, 92, 37, 87, 32, 80);
    p.cubicTo(26, 72, 24, 62, 24, 48);
    p.cubicTo(24, 30, 33, 18, kMidX, 18);
    p.closeSubpath();
    return p;
}

QPainterPath earLeft() {
    QPainterPath p;
    p.moveTo(25.5, 54);
    p.cubicTo(19, 50, 16.5, 56, 18.5, 63);
    p.cubicTo(20, 69, 23, 71, 27, 70);
    p.closeSubpath();
    return p;
}

// Everything of the hair that lies behind the face: the big rounded mass, with
// a few tufts sticking out at the sides.
QPainterPath hairBack() {
    QPainterPath p;
    p.moveTo(20, 60);
    p.lineTo(13, 57);
    p.cubicTo(14.5, 53, 14.5, 50, 13.5, 47);
    p.lineTo(10.5, 40);
    p.cubicTo(12.5, 37, 13, 33, 13, 30);
    p.lineTo(12, 24);
    p.cubicTo(14, 20, 16, 16, 20, 12);
    p.cubicTo(28, -2, 42, -8, kMidX, -8);
    p.cubicTo(57, -8, 71, -2, 79, 12);
    p.cubicTo(83, 16, 85, 20, 87, 24);
    p.lineTo(86, 30);
    p.cubicTo(86, 33, 86.5, 37, 88.5, 40);
    p.lineTo(85.5, 47);
    p.cubicTo(84.5, 50, 84.5, 53, 86, 57);
    p.lineTo(79, 60);
    p.closeSubpath();
    return p;
}

// The hair over the face: crown plus a fringe that ends in points just above the
// glasses, and sideburns down past the top of the ears.
QPainterPath hairFront() {
    QPainterPath p;
    p.moveTo(17.5, 58);
    p.cubicTo(14, 44, 14, 28, 21, 15);
    p.cubicTo(29, 1, 42, -6, kMidX, -6);
    p.cubicTo(58, -6, 71, 1, 78, 15);
    p.cubicTo(85, 28, 85, 44, 81.5, 58);
    // right sideburn
    p.lineTo(77, 56);
    p.cubicTo(76.5, 50, 76, 45, 74, 40);
    // fringe points, right to left
    p.lineTo(72, 45);
    p.cubicTo(70, 41, 68, 37, 66, 34);
    p.lineTo(65, 46);
    p.cubicTo(62, 41, 60, 38, 57, 35);
    p.lineTo(56, 47);
    p.cubicTo(53, 42, 51, 39, 48, 36);
    p.lineTo(46, 48);
    p.cubicTo(43, 43, 41, 40, 38, 37);
    p.lineTo(36, 46.5);
    p.cubicTo(33.5, 42, 31.5, 39, 29, 36);
    p.lineTo(27, 45);
    p.cubicTo(26, 42, 25.5, 40, 25, 39);
    // left sideburn
    p.cubicTo(23, 45, 22.5, 50, 22, 56);
    p.closeSubpath();
    return p;
}

void drawPlaid(QPainter& painter, const QPainterPath& clip) {
    painter.save();
    painter.setClipPath(clip);
    painter.fillRect(QRectF(-10, 80, kWidth + 20, 70), kPlaidBase);
    painter.setPen(Qt::NoPen);
    // Broad bands both ways; where they cross the colour deepens.
    QColor band = kPlaidBand;
    band.setAlpha(150);
    for (double x = -4; x < kWidth + 10; x += 10) {
        painter.fillRect(QRectF(x, 80, 4, 70), band);
    }
    for (double y = 84; y < kHeight + 10; y += 10) {
        painter.fillRect(QRectF(-10, y, kWidth + 20, 4), band);
    }
    painter.setPen(QPen(kPlaidLine, 0.6));
    for (double x = 0.5; x < kWidth + 10; x += 10) {
        painter.drawLine(QPointF(x, 80), QPointF(x, 150));
    }
    for (double y = 88.5; y < kHeight + 10; y += 10) {
        painter.drawLine(QPointF(-10, y), QPointF(kWidth + 10, y));
    }
    painter.setPen(QPen(kPlaidLight, 0.5));
    for (double x = 3.5; x < kWidth + 10; x += 10) {
        painter.drawLine(QPointF(x, 80), QPointF(x, 150));
    }
    for (double y = 91.5; y < kHeight + 10; y += 10) {
        painter.drawLine(QPointF(-10, y), QPointF(kWidth + 10, y));
    }
    painter.restore();
}

void drawBody(QPainter& painter) {
    // T-shirt
    const QPainterPath body = bodyShape();
    QLinearGradient shirtLight(0, 100, 0, kHeight);
    shirtLight.setColorAt(0, kShirtShade);
    shirtLight.setColorAt(0.35, kShirtWhite);
    painter.setPen(outlinePen());
    painter.setBrush(shirtLight);
    painter.drawPath(body);

    // Neck, with the chin's shadow on it.
    QLinearGradient neckShade(0, 84, 0, 100);
    neckShade.setColorAt(0, kSkinDeepShade);
    neckShade.setColorAt(1, kSkinShade);
    painter.setBrush(neckShade);
    painter.drawPath(neckShape());

    // Neckline band of the T-shirt.
    QPainterPath band;
    band.moveTo(35, 99);
    band.cubicTo(38.5, 111.5, 60.5, 111.5, 64, 99);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(outlinePen());
    painter.drawPath(band);
    QPainterPath bandInner;
    bandInner.moveTo(37.2, 100.5);
    bandInner.cubicTo(40, 108.5, 59, 108.5, 61.8, 100.5);
    painter.setPen(outlinePen(0.7));
    painter.drawPath(bandInner);

    // Open plaid shirt over it.
    for (const QPainterPath& panel : {shirtPanelLeft(), mirrored(shirtPanelLeft())}) {
        drawPlaid(painter, panel);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(outlinePen());
        painter.drawPath(panel);
    }
    for (const QPainterPath& collar : {collarLeft(), mirrored(collarLeft())}) {
        drawPlaid(painter, collar);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(outlinePen());
        painter.drawPath(collar);
    }
    // A couple of folds where the arms begin.
    painter.setPen(outlinePen(0.7));
    painter.drawLine(QPointF(12, 122), QPointF(15, kHeight + 2));
    painter.drawLine(QPointF(kWidth - 12, 122), QPointF(kWidth - 15, kHeight + 2));
}

void drawHead(QPainter& painter) {
    painter.setPen(outlinePen());
    painter.setBrush(kHair);
    painter.drawPath(hairBack());

    // Ears
    for (const QPainterPath& ear : {earLeft(), mirrored(earLeft())}) {
        painter.setBrush(kSkin);
        painter.drawPath(ear);
    }
    painter.setPen(QPen(kSkinDeepShade, 0.8, Qt::SolidLine, Qt::RoundCap));
    QPainterPath earFold;
    earFold.moveTo(24, 57);
    earFold.cubicTo(21, 56, 20.5, 60, 22, 64);
    painter.drawPath(earFold);
    painter.drawPath(mirrored(earFold));

    // Face with soft shading towards the sides and under the hair.
    const QPainterPath face = faceShape();
    QRadialGradient faceLight(QPointF(kMidX, 62), 30);
    faceLight.setColorAt(0, kSkin);
    faceLight.setColorAt(0.7, kSkin);
    faceLight.setColorAt(1, kSkinShade);
    painter.setPen(outlinePen());
    painter.setBrush(faceLight);
    painter.drawPath(face);
    painter.save();
    painter.setClipPath(face);
    painter.setPen(Qt::NoPen);
    QLinearGradient fringeShadow(0, 38, 0, 56);
    QColor shadow = kSkinShade;
    fringeShadow.setColorAt(0, shadow);
    shadow.setAlpha(0);
    fringeShadow.setColorAt(1, shadow);
    painter.setBrush(fringeShadow);
    painter.drawRect(QRectF(0, 30, kWidth, 30));
    painter.restore();

    // Hair over the face.
    painter.setPen(outlinePen());
    painter.setBrush(kHair);
    painter.drawPath(hairFront());
    painter.setPen(QPen(kHairShine, 1.0, Qt::SolidLine, Qt::RoundCap));
    // A few lighter strands so the mass reads as hair, not a helmet.
    struct Strand {
        double x, top, length, lean;
    };
    for (const Strand& st : {Strand{27, 14, 14, -3}, Strand{37, 6, 20, -3}, Strand{50, 4, 22, -2},
                             Strand{62, 6, 18, 1}, Strand{71, 13, 13, 3}}) {
        QPainterPath strand;
        strand.moveTo(st.x, st.top);
        strand.cubicTo(st.x + st.lean * 0.4, st.top + st.length * 0.35, st.x + st.lean,
                       st.top + st.length * 0.7, st.x + st.lean * 0.8, st.top + st.length);
        painter.drawPath(strand);
    }
}

void drawFace(QPainter& painter) {
    // Flat eyebrows peeking out under the fringe.
    painter.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(31, 48.5), QPointF(41, 48));
    painter.drawLine(QPointF(58, 48), QPointF(68, 48.5));

    // Closed eyes: short level lines.
    painter.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(33, 57.5), QPointF(41.5, 57.5));
    painter.drawLine(QPointF(57.5, 57.5), QPointF(66, 57.5));

    // Nose: just a hint of its shadow.
    painter.setPen(QPen(kSkinDeepShade, 1.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath nose;
    nose.moveTo(50.5, 64);
    nose.cubicTo(51.5, 67, 52, 69, 50, 70.5);
    painter.drawPath(nose);

    // Small flat mouth.
    painter.setPen(QPen(kInk, 1.1, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(45.5, 79.5), QPointF(53.5, 79.5));

    // Thin wire glasses: two rounded lenses, a bridge and the arms to the ears.
    QPen wire(kInk, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(wire);
    painter.setBrush(Qt::NoBrush);
    const QRectF leftLens(28.5, 51, 17.5, 13);
    const QRectF rightLens(kWidth - 28.5 - 17.5, 51, 17.5, 13);
    painter.drawRoundedRect(leftLens, 5.5, 5.5);
    painter.drawRoundedRect(rightLens, 5.5, 5.5);
    QPainterPath bridge;
    bridge.moveTo(leftLens.right(), 55);
    bridge.quadTo(kMidX, 52.5, rightLens.left(), 55);
    painter.drawPath(bridge);
    painter.drawLine(QPointF(leftLens.left(), 54.5), QPointF(24.5, 54));
    painter.drawLine(QPointF(rightLens.right(), 54.5), QPointF(kWidth - 24.5, 54));
}

} // namespace

QImage portraitImage() {
    QImage canvas(kWidth * kOversample, kHeight * kOversample, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(kOversample, kOversample);
        drawBody(painter);
        drawHead(painter);
        drawFace(painter);
    }
    QImage image = canvas.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // 96 dpi, set explicitly so the JFIF density does not depend on the screen.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

QByteArray portraitFile() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    // Baseline, standard Huffman tables: the plainest JPEG every decoder reads.
    writer.setQuality(90);
    writer.setOptimizedWrite(false);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(portraitImage())) {
        throw std::runtime_error("portrait: " + writer.errorString().toStdString());
    }
    return bytes;
}

} // namespace assetgen
