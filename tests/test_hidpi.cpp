// test_hidpi.cpp: the window grabbed at the device-pixel ratio QT_SCALE_FACTOR
// asks for (CTest runs it at 1, 1.25, 1.5 and 2): its proportions, and
// drawing that stays crisp on the screen's own pixels.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "game_window.h"
#include "qt_runtime.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <set>

using namespace forms;
using namespace front::qt;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kLightGrey = qRgb(0xE0, 0xE0, 0xE0);

struct Window : GameWindow {
    Window() : GameWindow(Clock::Held) {}
};

qreal askedRatio() {
    return qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
               ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
               : 1.0;
}

// The device pixels of a layout pixel's first device pixel, as the view
// places them.
int device(int layoutPixel, qreal ratio) {
    return static_cast<int>(std::lround(layoutPixel * ratio));
}

// The lengths of the runs of `colour` along a row or a column of the grab.
QList<int> runs(const QImage& image, QPoint from, QPoint step, int count, QRgb colour) {
    QList<int> lengths;
    int run = 0;
    for (int i = 0; i < count; ++i) {
        const QPoint at = from + step * i;
        if (image.pixel(at) == colour) {
            ++run;
        } else if (run > 0) {
            lengths.push_back(run);
            run = 0;
        }
    }
    if (run > 0) {
        lengths.push_back(run);
    }
    return lengths;
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void theGrabIsAtTheRatioAskedFor() {
        Window window;
        QCOMPARE(window.view.grab().devicePixelRatio(), askedRatio());
    }

    void theWindowKeepsItsProportions() {
        Window window;
        const qreal ratio = askedRatio();
        QCOMPARE(window.view.size(), QSize(485, 357));
        const QImage image = window.view.grab().toImage();
        QCOMPARE(image.size(), QSize(qRound(485 * ratio), qRound(357 * ratio)));
    }

    // Lines and shapes drawn without smoothing keep to their own colours;
    // a line straddling two device pixels would bring in greys or pale browns.
    void linesAndShapesKeepToTheirOwnColours_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("filling");
        QTest::newRow("the tap and its stream") << QRect(20, 155, 70, 60) << true;
        QTest::newRow("the empty tub") << QRect(15, 185, 320, 160) << false;
        QTest::newRow("the tub filling") << QRect(15, 185, 320, 160) << true;
        QTest::newRow("the balloon's tail") << QRect(322, 84, 30, 24) << false;
        QTest::newRow("the balloon's top edge") << QRect(30, 20, 280, 10) << false;
    }
    void linesAndShapesKeepToTheirOwnColours() {
        QFETCH(QRect, area);
        QFETCH(bool, filling);
        Window window;
        if (filling) {
            window.game.Command1_Click();
            for (int i = 0; i < 150; ++i) {
                window.game.Timer1_Timer();
            }
        }
        const qreal ratio = askedRatio();
        const QImage image = window.view.grab().toImage();
        const std::set<QRgb> own = {kWhite.rgb(), kBlack, kBrown.rgb(), kWater.rgb(), kLightGrey};
        for (int y = device(area.top(), ratio); y < device(area.bottom() + 1, ratio); ++y) {
            for (int x = device(area.left(), ratio); x < device(area.right() + 1, ratio); ++x) {
                const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
                if (!own.contains(pixel)) {
                    QFAIL(qPrintable(QStringLiteral("device pixel %1,%2 is %3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(QColor(pixel).name())));
                }
            }
        }
    }

    void oneLayoutPixelLinesAreOneDevicePixelWide_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<int>("length");
        // Scanning across each line, through the middle of its length.
        QTest::newRow("the tub's inner back left edge, upright")
            << QPoint(50, 260) << QPoint(1, 0) << 12;
        QTest::newRow("the tub's inner back floor edge, level")
            << QPoint(150, 322) << QPoint(0, 1) << 10;
        QTest::newRow("the balloon's left border") << QPoint(18, 70) << QPoint(1, 0) << 12;
        QTest::newRow("the tap's pipe, upper side") << QPoint(40, 150) << QPoint(0, 1) << 14;
    }
    void oneLayoutPixelLinesAreOneDevicePixelWide() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, step);
        QFETCH(int, length);
        Window window;
        const qreal ratio = askedRatio();
        const QImage image = window.view.grab().toImage();
        const QPoint start(device(from.x(), ratio), device(from.y(), ratio));
        QCOMPARE(runs(image, start, step, qRound(length * ratio), kBlack), QList<int>{1});
    }

    // The white line that opens the balloon for its tail must land on the
    // very device pixels of the balloon's border, at every ratio.
    void theBalloonStaysOpenWhereTheTailJoins_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("border");
        QTest::newRow("above the tail, the border") << 60 << QList<int>{1};
        QTest::newRow("where the tail joins, open") << 96 << QList<int>{};
        QTest::newRow("below the tail, the border") << 115 << QList<int>{1};
    }
    void theBalloonStaysOpenWhereTheTailJoins() {
        QFETCH(int, row);
        QFETCH(QList<int>, border);
        Window window;
        const qreal ratio = askedRatio();
        const QImage image = window.view.grab().toImage();
        // Every device row of the layout row, across the border's column.
        for (int y = device(row, ratio); y < device(row + 1, ratio); ++y) {
            const QPoint start(device(325, ratio), y);
            QCOMPARE(runs(image, start, QPoint(1, 0), device(331, ratio) - start.x(), kBlack),
                     border);
        }
    }

    void thickLinesKeepTheirWidthsInProportion_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("layoutWidths");
        QTest::newRow("the tub's back and front rims, level")
            << QPoint(150, 185) << QPoint(0, 1) << 25 << QList<int>{3, 3};
        QTest::newRow("the tub's front left edge, upright")
            << QPoint(15, 260) << QPoint(1, 0) << 20 << QList<int>{3};
        QTest::newRow("the tub's front right and back right edges, upright")
            << QPoint(290, 260) << QPoint(1, 0) << 45 << QList<int>{3, 3};
    }
    void thickLinesKeepTheirWidthsInProportion() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, step);
        QFETCH(int, length);
        QFETCH(QList<int>, layoutWidths);
        Window window;
        const qreal ratio = askedRatio();
        const QImage image = window.view.grab().toImage();
        QList<int> expected;
        for (int width : layoutWidths) {
            expected.push_back(static_cast<int>(std::lround(width * ratio)));
        }
        const QPoint start(device(from.x(), ratio), device(from.y(), ratio));
        QCOMPARE(runs(image, start, step, qRound(length * ratio), kBrown.rgb()), expected);
    }

    void picturesAreScaledWithTheRatioAlone_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("the portrait") << ":/assets/portrait.jpg" << QPoint(368, 8);
        QTest::newRow("the word") << ":/assets/yopo-word.gif" << QPoint(388, 192);
    }
    void picturesAreScaledWithTheRatioAlone() {
        QFETCH(QString, picture);
        QFETCH(QPoint, at);
        Window window;
        const qreal ratio = askedRatio();
        const QImage image = window.view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage source(picture);
        QVERIFY(!source.isNull());
        // The word's transparent ground shows the window's white.
        QImage flat(source.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter painter(&flat);
            painter.drawImage(0, 0, source);
        }
        const QRect target(QPoint(device(at.x(), ratio), device(at.y(), ratio)),
                           QPoint(device(at.x() + source.width(), ratio) - 1,
                                  device(at.y() + source.height(), ratio) - 1));
        const QImage shown = image.copy(target);
        if (ratio == std::floor(ratio)) {
            // Whole ratios: every picture pixel an exact square of device pixels.
            const int factor = static_cast<int>(ratio);
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    if (shown.pixel(x, y) != flat.pixel(x / factor, y / factor)) {
                        QFAIL(qPrintable(
                            QStringLiteral("device pixel %1,%2 of the picture").arg(x).arg(y)));
                    }
                }
            }
        } else {
            // Between whole ratios the picture is smoothed as it is scaled,
            // and no more than that: it stays close to the same picture
            // scaled smoothly on its own, with no blur or shift on top.
            const QImage scaled =
                flat.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            double total = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    const QRgb a = shown.pixel(x, y);
                    const QRgb b = scaled.pixel(x, y);
                    total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                             std::abs(qBlue(a) - qBlue(b));
                }
            }
            const double mean = total / (3.0 * shown.width() * shown.height());
            QVERIFY2(mean < 4, qPrintable(QString::number(mean)));
        }
    }
};

QTEST_MAIN(HiDpiTest)
#include "test_hidpi.moc"
