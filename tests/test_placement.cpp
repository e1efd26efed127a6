// test_placement.cpp: the shake where a program cannot move its own window
// (Wayland), forced on the offscreen platform: what the window shows moves
// by the same distance, in the same colours.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "game_window.h"
#include "qt_runtime.h"
#include "window_placer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

using namespace forms;

namespace {

const QColor kRed(255, 0, 0);

constexpr forms::Colour kScaldColour = 0x0000FF;
constexpr forms::Colour kFloodColour = 0xFFFFC0;

// The game in a window that cannot move itself.
struct StuckWindow {
    Form1 form;
    yopo::Game game{form};
    FormView view{form};
    QtRuntime runtime{form, game, view};

    StuckWindow() {
        runtime.setTimeScale(1e-4);
        runtime.setWindowPlacer(std::make_unique<ContentsMover>());
        runtime.start();
    }
    QImage picture() { return view.grab().toImage(); }
};

} // namespace

class PlacementTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void theWindowMovesWhereverThePlatformLetsIt_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("movesTheWindow");
        QTest::newRow("X11") << "xcb" << true;
        QTest::newRow("Windows") << "windows" << true;
        QTest::newRow("macOS") << "cocoa" << true;
        QTest::newRow("offscreen") << "offscreen" << true;
        QTest::newRow("Wayland") << "wayland" << false;
        QTest::newRow("Wayland with EGL") << "wayland-egl" << false;
    }
    void theWindowMovesWhereverThePlatformLetsIt() {
        QFETCH(QString, platform);
        QFETCH(bool, movesTheWindow);
        const std::unique_ptr<WindowPlacer> placer = placerFor(platform);
        QCOMPARE(dynamic_cast<WindowMover*>(placer.get()) != nullptr, movesTheWindow);
        QCOMPARE(dynamic_cast<ContentsMover*>(placer.get()) != nullptr, !movesTheWindow);
    }

    void theShakeMovesTheContentsAsideOnWhiteAndBackInColour_data() {
        QTest::addColumn<forms::Colour>("catastrophe");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("after a scald, red") << kScaldColour << kRed;
        QTest::newRow("after a flood, light cyan") << kFloodColour << kWater;
    }
    void theShakeMovesTheContentsAsideOnWhiteAndBackInColour() {
        QFETCH(forms::Colour, catastrophe);
        QFETCH(QColor, colour);
        StuckWindow window;
        const QPoint home = window.view.pos();
        QPushButton* tap = window.view.button(window.form.Command1);
        const QRect tapHome = tap->geometry();

        // Aside: 100 twips is 7 pixels to the left, on white.
        window.game.ShakeStep(catastrophe);
        QCOMPARE(window.view.pos(), home);
        QCOMPARE(window.view.contentsOffset(), QPoint(-7, 0));
        QImage image = window.picture();
        QCOMPARE(image.size(), QSize(485, 357));
        // The tub's front left edge, columns 23 to 25 at home, now 16 to 18.
        QCOMPARE(image.pixelColor(17, 260), kBrown);
        QCOMPARE(image.pixelColor(24, 260), kWhite);
        // The strip the contents leave bare on the right shows the ground.
        QCOMPARE(image.pixelColor(482, 200), kWhite);
        QCOMPARE(tap->geometry(), tapHome.translated(-7, 0));

        // Back, in the catastrophe's colour.
        window.game.ShakeStep(catastrophe);
        QCOMPARE(window.view.pos(), home);
        QCOMPARE(window.view.contentsOffset(), QPoint(0, 0));
        image = window.picture();
        QCOMPARE(image.pixelColor(2, 2), colour);
        QCOMPARE(image.pixelColor(24, 260), kBrown);
        QCOMPARE(image.pixelColor(17, 260), colour);
        QCOMPARE(tap->geometry(), tapHome);
    }

    void theGameStillReadsTheWindowWhereItStands() {
        // The window never moves, so the shake keeps returning to the same
        // place instead of drifting across the screen.
        StuckWindow window;
        const forms::Twips left = window.form.left();
        for (int step = 0; step < 40; ++step) {
            window.game.ShakeStep(kScaldColour);
        }
        QCOMPARE(window.form.left(), left);
        QCOMPARE(window.view.contentsOffset(), QPoint(0, 0));
    }

    void aFloodShakesTheContentsOnTheGamesOwnTimer() {
        StuckWindow window;
        window.game.Command1_Click();
        // Fill until the tub runs over.
        while (window.game.state().Phase == 1 && window.form.Shp_water.visible()) {
            window.runtime.raiseTick(window.form.Timer1);
        }
        QCOMPARE(window.form.Timer1.interval(), yopo::kShakeInterval);
        // The flood itself was the first step aside; each tick after it
        // alternates back and aside.
        QCOMPARE(window.view.contentsOffset(), QPoint(-7, 0));
        window.runtime.raiseTick(window.form.Timer1);
        QCOMPARE(window.view.contentsOffset(), QPoint(0, 0));
        QCOMPARE(window.picture().pixelColor(2, 2), kWater);
        window.runtime.raiseTick(window.form.Timer1);
        QCOMPARE(window.view.contentsOffset(), QPoint(-7, 0));
    }
};

QTEST_MAIN(PlacementTest)
#include "test_placement.moc"
