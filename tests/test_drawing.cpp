// test_drawing.cpp: the window's frame as device-pixel primitives, with no screen
// and no Qt below the test harness: overlap order, device rectangles, what draws nothing.
#include "drawing.h"
#include "form1.h"

#include <QTest>

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

using namespace forms;
using drawing::DevicePixel;
using drawing::DeviceRect;
using drawing::Frame;
using drawing::Primitive;

namespace {

// A font whose baseline lies three quarters down its em, unlike the plain
// gothic one, so a test can tell whose measures placed the text.
class ThreeQuarterMetrics : public GothicTextMetrics {
public:
    FontExtent fontExtent(float, bool) const override { return {9, 3}; }
};

const GothicTextMetrics kGothic;

QString number(double value) {
    return QString::number(value);
}
QString colour(Colour c) {
    return QStringLiteral("0x%1").arg(c, 6, 16, QLatin1Char('0'));
}
QString rect(const drawing::DeviceRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.left).arg(r.top).arg(r.width).arg(r.height);
}

// One primitive in words, so that a failure shows what was drawn.
QString describe(const Primitive& primitive) {
    struct Describer {
        QString operator()(const drawing::FillRect& p) const {
            return "fill " + rect(p.rect) + " " + colour(p.colour);
        }
        QString operator()(const drawing::Hairline& p) const {
            return QStringLiteral("hairline %1,%2-%3,%4 ")
                       .arg(p.from.x)
                       .arg(p.from.y)
                       .arg(p.to.x)
                       .arg(p.to.y) +
                   colour(p.colour);
        }
        QString operator()(const drawing::WideLine& p) const {
            return QStringLiteral("wide %1 ").arg(p.width) + number(p.from.x) + "," +
                   number(p.from.y) + "-" + number(p.to.x) + "," + number(p.to.y) + " " +
                   colour(p.colour);
        }
        QString operator()(const drawing::RoundedRect& p) const {
            return "rounded " + rect(p.rect) + " r" + number(p.radius) +
                   (p.fill ? " fill " + colour(*p.fill) : QString()) +
                   (p.outline ? " outline " + colour(*p.outline) : QString());
        }
        QString operator()(const drawing::Picture& p) const {
            return "picture " + QString::fromStdString(p.name) + " " + rect(p.rect) +
                   (p.smooth ? " smooth" : " sharp");
        }
        QString operator()(const drawing::TextRun& p) const {
            return "text " + number(p.origin.x) + "," + number(p.origin.y) + " " +
                   number(p.points) + "pt" + (p.bold ? " bold" : "") + " em " + number(p.emPixels) +
                   " " + colour(p.colour) + " " + QString::fromStdString(p.text);
        }
    };
    return std::visit(Describer{}, primitive);
}

QStringList describe(const Frame& frame) {
    QStringList lines;
    for (const Primitive& primitive : frame.primitives) {
        lines.push_back(describe(primitive));
    }
    return lines;
}

// The kinds of the frame's primitives, one letter each, first to last.
QString kinds(const Frame& frame) {
    QString letters;
    for (const Primitive& primitive : frame.primitives) {
        letters += QStringLiteral("FHWRPT").at(static_cast<qsizetype>(primitive.index()));
    }
    return letters;
}

// The same primitive `dx`, `dy` device pixels aside.
Primitive moved(Primitive primitive, int dx, int dy) {
    const auto shiftRect = [&](drawing::DeviceRect& r) {
        r.left += dx;
        r.top += dy;
    };
    const auto shiftPoint = [&](auto& p) {
        p.x += dx;
        p.y += dy;
    };
    std::visit(
        [&](auto& p) {
            using Kind = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<Kind, drawing::Hairline> ||
                          std::is_same_v<Kind, drawing::WideLine>) {
                shiftPoint(p.from);
                shiftPoint(p.to);
            } else if constexpr (std::is_same_v<Kind, drawing::TextRun>) {
                shiftPoint(p.origin);
            } else {
                shiftRect(p.rect);
            }
        },
        primitive);
    return primitive;
}

Line& line(Form1& form, const char* name) {
    return dynamic_cast<Line&>(*form.find(name));
}

// Where each control of the fresh window comes in its frame: the ground
// first, then the controls from the last in the layout to the first.
enum FreshIndex {
    kGround = 0,
    kWater = 1,
    kWaterCover = 2,   // Line0
    kTubInnerLeft = 3, // Line19
    kPortraitPicture = 5,
    kMasterName = 6,      // Label1
    kBalloon = 18,        // Shape1
    kBalloonOpening = 19, // Line5
    kMessage = 20,        // Lbl_msg
    kFrontRim = 30,       // Line3
};

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    // Every shown control but the buttons, the last in the layout first, so
    // that the first in the layout covers all the others.
    void theFreshWindowListsItsControlsInOverlapOrder() {
        Form1 form;
        const Frame frame = drawing::drawFrame(form, kGothic, 1);
        // ground, water, cover, tub, portrait, name, balloon tail, tub rim and
        // edges, word picture, balloon, message, panel, tap; no stream.
        QCOMPARE(kinds(frame), QStringLiteral("FFWHWPTHHWWWWWWHHPRHTWFFFHHHHHWW"));
    }

    void eachControlLandsOnItsDevicePixels_data() {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("drawn");
        const auto row = [](const char* name, double ratio, int index, const char* drawn) {
            QTest::newRow(name) << ratio << index << QString::fromUtf8(drawn);
        };
        row("the ground at 1", 1, kGround, "fill 0,0 485x357 0xffffff");
        row("the ground at 1.5, its half pixel rounded up", 1.5, kGround,
            "fill 0,0 728x536 0xffffff");
        row("the water at 1", 1, kWater, "fill 24,336 305x1 0xffffc0");
        row("the water at 1.5, each edge rounded on its own", 1.5, kWater,
            "fill 36,504 458x2 0xffffc0");
        row("the white cover at 1, through its pixels' middles", 1, kWaterCover,
            "wide 8 8.5,336.5-72.5,320.5 0xffffff");
        row("the white cover at 1.5, twelve wide", 1.5, kWaterCover,
            "wide 12 13,505-109,481 0xffffff");
        row("the tub's thin inner edge at 1, in window-text black", 1, kTubInnerLeft,
            "hairline 56,192-56,328 0x000000");
        row("the tub's thin inner edge at 1.5, on first device pixels", 1.5, kTubInnerLeft,
            "hairline 84,288-84,492 0x000000");
        row("the front rim at 1, three wide", 1, kFrontRim,
            "wide 3 24.5,200.5-296.5,200.5 0x404080");
        row("the front rim at 1.5, five wide", 1.5, kFrontRim, "wide 5 37,301-445,301 0x404080");
        row("the portrait at 1, pixel for pixel", 1, kPortraitPicture,
            "picture portrait.jpg 368,8 99x131 sharp");
        row("the portrait at 1.5, smoothed", 1.5, kPortraitPicture,
            "picture portrait.jpg 552,12 149x197 smooth");
        row("the balloon at 1", 1, kBalloon, "rounded 24,24 305x105 r13.125 outline 0x000000");
        row("the balloon at 1.5, its corners from its whole area", 1.5, kBalloon,
            "rounded 36,36 457x157 r19.75 outline 0x000000");
        row("the balloon at 2, its outline on first device pixels", 2, kBalloon,
            "rounded 48,48 609x209 r26.25 outline 0x000000");
        row("the balloon's opening at 1.5, on its outline's column", 1.5, kBalloonOpening,
            "hairline 492,132-492,156 0xffffff");
        row("the balloon's opening at 2, on its outline's column", 2, kBalloonOpening,
            "hairline 656,176-656,208 0xffffff");
        row("the message at 1, its baseline seven eighths down", 1, kMessage,
            "text 40,50.5 9pt em 12 0x000000 Label2");
        row("the message at 1.5", 1.5, kMessage, "text 60,75.75 9pt em 18 0x000000 Label2");
        row("the master's name at 1.5, off the grid", 1.5, kMasterName,
            "text 580.5,231.75 9pt em 18 0x000000 ヨポの達人");
    }
    void eachControlLandsOnItsDevicePixels() {
        QFETCH(double, ratio);
        QFETCH(int, index);
        QFETCH(QString, drawn);
        Form1 form;
        const Frame frame = drawing::drawFrame(form, kGothic, ratio);
        QCOMPARE(frame.ratio, ratio);
        QCOMPARE(describe(frame.primitives.at(static_cast<std::size_t>(index))), drawn);
    }

    void theFrameIsTheClientAreaAtTheRatio_data() {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("1") << 1.0 << 485 << 357;
        QTest::newRow("1.25") << 1.25 << 606 << 446;
        QTest::newRow("1.5") << 1.5 << 728 << 536;
        QTest::newRow("2") << 2.0 << 970 << 714;
    }
    void theFrameIsTheClientAreaAtTheRatio() {
        QFETCH(double, ratio);
        QFETCH(int, width);
        QFETCH(int, height);
        Form1 form;
        const Frame frame = drawing::drawFrame(form, kGothic, ratio);
        QCOMPARE(QSize(frame.width, frame.height), QSize(width, height));
    }

    void whatDrawsNothing_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("gone");
        QTest::newRow("a hidden line") << QString("hide Line0") << int(kWaterCover);
        QTest::newRow("a hidden shape") << QString("hide Shp_water") << int(kWater);
        QTest::newRow("a hidden picture") << QString("hide Image1") << int(kPortraitPicture);
        QTest::newRow("a hidden label") << QString("hide Lbl_msg") << int(kMessage);
        QTest::newRow("a line set to BorderStyle 0")
            << QString("Line3 BorderStyle 0") << int(kFrontRim);
        QTest::newRow("a shape too low to cover a row")
            << QString("Shp_water Height 7") << int(kWater);
        QTest::newRow("an empty caption") << QString("Lbl_msg Caption empty") << int(kMessage);
    }
    void whatDrawsNothing() {
        QFETCH(QString, change);
        QFETCH(int, gone);
        Form1 form;
        QStringList expected = describe(drawing::drawFrame(form, kGothic, 1.5));
        expected.removeAt(gone);
        if (change == "hide Line0") {
            form.Line0.setVisible(false);
        } else if (change == "hide Shp_water") {
            form.Shp_water.setVisible(false);
        } else if (change == "hide Image1") {
            dynamic_cast<Image&>(*form.find("Image1")).setVisible(false);
        } else if (change == "hide Lbl_msg") {
            form.Lbl_msg.setVisible(false);
        } else if (change == "Line3 BorderStyle 0") {
            line(form, "Line3").setBorderStyle(BorderStyle::Transparent);
        } else if (change == "Shp_water Height 7") {
            form.Shp_water.setHeight(7);
        } else if (change == "Lbl_msg Caption empty") {
            form.Lbl_msg.setCaption("");
        }
        QCOMPARE(describe(drawing::drawFrame(form, kGothic, 1.5)), expected);
    }

    // The stream is there all along, drawn only while its BorderStyle is 1.
    void theStreamAppearsWhenTheTapOpens() {
        Form1 form;
        QStringList expected = describe(drawing::drawFrame(form, kGothic, 1));
        expected.insert(kFrontRim, "wide 2 76.5,179.5-76.5,327.5 0xffffc0");
        form.Line_water.setBorderStyle(BorderStyle::Solid);
        QCOMPARE(describe(drawing::drawFrame(form, kGothic, 1)), expected);
    }

    // A player who asked for reduced motion may see another ground than the
    // one the game last painted; nothing else changes with it.
    void theGroundIsTheOneTheViewShows() {
        Form1 form;
        const QStringList painted = describe(drawing::drawFrame(form, kGothic, 1.5));
        QStringList shown = describe(drawing::drawFrame(form, kGothic, 1.5, {}, 0x0000FF));
        QCOMPARE(shown.takeFirst(), QStringLiteral("fill 0,0 728x536 0x0000ff"));
        QCOMPARE(shown, painted.mid(1));
    }

    // Where the window cannot move, its contents move instead: everything
    // but the ground, by the offset in layout pixels times the ratio.
    void theShakeMovesEverythingButTheGround_data() {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("at 1, aside to the left") << 1.0 << QPoint(-7, 0);
        QTest::newRow("at 1.5, by whole device pixels") << 1.5 << QPoint(-6, 2);
        QTest::newRow("at 2, up and right") << 2.0 << QPoint(3, -1);
    }
    void theShakeMovesEverythingButTheGround() {
        QFETCH(double, ratio);
        QFETCH(QPoint, offset);
        Form1 form;
        form.Lbl_msg.setCaption("大洪水です！！\r\n30年に一度の大洪水です！！");
        const Frame still = drawing::drawFrame(form, kGothic, ratio);
        const Frame shaken = drawing::drawFrame(form, kGothic, ratio, {offset.x(), offset.y()});
        const int dx = qRound(offset.x() * ratio);
        const int dy = qRound(offset.y() * ratio);
        QCOMPARE(shaken.primitives.size(), still.primitives.size());
        QCOMPARE(describe(shaken.primitives.front()), describe(still.primitives.front()));
        for (std::size_t i = 1; i < still.primitives.size(); ++i) {
            QCOMPARE(describe(shaken.primitives[i]), describe(moved(still.primitives[i], dx, dy)));
        }
        // The buttons go with them.
        const drawing::DeviceRect tap = drawing::deviceRect(form.Command1.rect(), 1);
        const drawing::DeviceRect shakenTap =
            drawing::deviceRect(form.Command1.rect(), 1, {offset.x(), offset.y()});
        QCOMPARE(QPoint(shakenTap.left - tap.left, shakenTap.top - tap.top), offset);
        QCOMPARE(rect(tap), QStringLiteral("377,240 81x25"));
    }

    // Each line of a label goes one em below the last, its baseline placed by
    // the front end's own font measures; blank lines keep their place.
    void aLabelsLinesSitOnTheFontsBaselines() {
        Form1 form;
        form.Lbl_msg.setFontSize(15);
        form.Lbl_msg.setFontBold(true);
        form.Lbl_msg.setCaption("熱い！\r\n\r\nもう70度だぞ！！");
        const Frame frame = drawing::drawFrame(form, ThreeQuarterMetrics(), 1.25);
        const QStringList drawn = describe(frame);
        // em 20, baseline 15 down: rows 0 and 2 at 40 + 15 and 40 + 40 + 15.
        QCOMPARE(drawn.at(kMessage),
                 QStringLiteral("text 50,68.75 15pt bold em 25 0x000000 熱い！"));
        QCOMPARE(drawn.at(kMessage + 1),
                 QStringLiteral("text 50,118.75 15pt bold em 25 0x000000 もう70度だぞ！！"));
        QCOMPARE(kinds(frame).count('T'), 3);
    }

    // Wide lines grow in whole device pixels with the ratio; a line too thin
    // for two device pixels is a hairline. Pictures are smoothed only where
    // their pixels cannot map whole.
    void widthsAndPicturesFollowTheRatio_data() {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("rim");   // Line3, 3 layout pixels
        QTest::addColumn<QString>("cover"); // Line1, 5
        QTest::addColumn<bool>("smooth");
        QTest::newRow("1") << 1.0 << QString("wide 3") << QString("wide 5") << false;
        QTest::newRow("1.25") << 1.25 << QString("wide 4") << QString("wide 6") << true;
        QTest::newRow("1.5, halves rounded up")
            << 1.5 << QString("wide 5") << QString("wide 8") << true;
        QTest::newRow("2") << 2.0 << QString("wide 6") << QString("wide 10") << false;
        QTest::newRow("0.3, the rim a hairline")
            << 0.3 << QString("hairline") << QString("wide 2") << true;
    }
    void widthsAndPicturesFollowTheRatio() {
        QFETCH(double, ratio);
        QFETCH(QString, rim);
        QFETCH(QString, cover);
        QFETCH(bool, smooth);
        Form1 form;
        const Frame frame = drawing::drawFrame(form, kGothic, ratio);
        QVERIFY2(describe(frame.primitives.at(kFrontRim)).startsWith(rim + " "),
                 qPrintable(describe(frame.primitives.at(kFrontRim))));
        const int coverIndex = 14; // Line1
        QVERIFY2(describe(frame.primitives.at(coverIndex)).startsWith(cover + " "),
                 qPrintable(describe(frame.primitives.at(coverIndex))));
        QCOMPARE(std::get<drawing::Picture>(frame.primitives.at(kPortraitPicture)).smooth, smooth);
    }

    // The heating water's colour comes through as it is; the system's text
    // colours, never, as black.
    void coloursArePlain() {
        Form1 form;
        form.Shp_water.setBackColor(0x8080FF);
        const Frame frame = drawing::drawFrame(form, kGothic, 1);
        QCOMPARE(std::get<drawing::FillRect>(frame.primitives.at(kWater)).colour, 0x8080FFu);
        for (const Primitive& primitive : frame.primitives) {
            QVERIFY2(!describe(primitive).contains("0x80000"), qPrintable(describe(primitive)));
        }
    }

    // The pixels a front end without a pen sets for a hairline: the same
    // whichever end it is drawn from.
    void aHairlinesPixels_data() {
        QTest::addColumn<QList<int>>("ends"); // from x, y, to x, y
        QTest::addColumn<QList<int>>("runs"); // left, top, width, height, ...
        QTest::newRow("level") << QList<int>{0, 0, 4, 0} << QList<int>{0, 0, 5, 1};
        QTest::newRow("upright, drawn upwards") << QList<int>{2, 5, 2, 1} << QList<int>{2, 1, 1, 5};
        QTest::newRow("exactly between two pixels: the lower")
            << QList<int>{0, 0, 2, 1} << QList<int>{0, 0, 1, 1, 1, 1, 2, 1};
        QTest::newRow("the same, drawn the other way")
            << QList<int>{2, 1, 0, 0} << QList<int>{0, 0, 1, 1, 1, 1, 2, 1};
        QTest::newRow("steep, between two columns: the righter")
            << QList<int>{0, 0, 1, 2} << QList<int>{0, 0, 1, 1, 1, 1, 1, 2};
    }
    void aHairlinesPixels() {
        QFETCH(QList<int>, ends);
        QFETCH(QList<int>, runs);
        QList<int> covered;
        for (const DeviceRect& run : drawing::runsOf({{ends[0], ends[1]}, {ends[2], ends[3]}, 0})) {
            covered << run.left << run.top << run.width << run.height;
        }
        QCOMPARE(covered, runs);
    }

    // A rounded outline is one pixel wide, unbroken and symmetric both ways,
    // and its fill reaches the outline on every row without passing it.
    void aRoundedOutlinesPixels() {
        const drawing::RoundedRect shape{{10, 20, 31, 17}, 6.5, 0xFFFFFF, 0};
        const std::vector<DevicePixel> outline = drawing::outlineOf(shape);
        const auto on = [&](int x, int y) {
            return std::find(outline.begin(), outline.end(), DevicePixel{x, y}) != outline.end();
        };
        for (const DevicePixel& pixel : outline) {
            QVERIFY(on(10 + 40 - pixel.x, pixel.y));
            QVERIFY(on(pixel.x, 20 + 36 - pixel.y));
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    neighbours += (dx != 0 || dy != 0) && on(pixel.x + dx, pixel.y + dy) ? 1 : 0;
                }
            }
            QVERIFY2(neighbours >= 2, qPrintable(QString("%1,%2").arg(pixel.x).arg(pixel.y)));
        }
        for (const DeviceRect& run : drawing::fillRunsOf(shape)) {
            const int y = run.top;
            QVERIFY(on(run.left, y) || on(run.left - 1, y));
            QVERIFY(on(run.right(), y) || on(run.right() + 1, y));
        }
    }
};

QTEST_APPLESS_MAIN(DrawingTest)
#include "test_drawing.moc"
