// test_placement.cpp: the shake where a program cannot move its own window
// (Wayland), forced on the offscreen platform: what the window shows moves
// by the same distance, in the same colours; and where the window system
// carries the moves out late.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "game_window.h"
#include "qt_runtime.h"
#include "window_placer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <deque>

using namespace forms;
using namespace front::qt;

namespace {

const QColor kRed(255, 0, 0);

constexpr forms::Colour kScaldColour = 0x0000FF;
constexpr forms::Colour kFloodColour = 0xFFFFC0;

// The game in a window that cannot move itself.
struct StuckWindow {
    Form1 form;
    game::Game game{form};
    FormView view{form};
    QtRuntime runtime{form, game, view};

    StuckWindow() {
        runtime.setTimeScale(1e-4);
        runtime.setWindowPlacer(std::make_unique<UnmovableWindow>());
        runtime.start();
    }
    QImage picture() { return view.grab().toImage(); }
};

// Holds the game's moves back, as a busy window manager does, until the
// test lets them through.
class LateMover final : public WindowPlacer {
public:
    void moveTo(FormView&, QPoint target) override { m_waiting.push_back(target); }
    void carryOut(FormView& view, int moves) {
        for (int i = 0; i < moves && !m_waiting.empty(); ++i) {
            // As the window system itself moves it, not as the program asks.
            view.windowHandle()->setFramePosition(m_waiting.front());
            m_waiting.pop_front();
        }
        QCoreApplication::processEvents();
    }

private:
    std::deque<QPoint> m_waiting;
};

// The game in a window whose moves land late.
struct LateWindow {
    Form1 form;
    game::Game game{form};
    FormView view{form};
    QtRuntime runtime{form, game, view};
    LateMover* mover;

    LateWindow() {
        auto late = std::make_unique<LateMover>();
        mover = late.get();
        runtime.setTimeScale(1e-4);
        runtime.setWindowPlacer(std::move(late));
        runtime.start();
        QCoreApplication::processEvents();
    }
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
        QCOMPARE(placer->canMove(), movesTheWindow);
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
        QCOMPARE(window.form.Timer1.interval(), game::kShakeInterval);
        // The flood itself was the first step aside; each tick after it
        // alternates back and aside.
        QCOMPARE(window.view.contentsOffset(), QPoint(-7, 0));
        window.runtime.raiseTick(window.form.Timer1);
        QCOMPARE(window.view.contentsOffset(), QPoint(0, 0));
        QCOMPARE(window.picture().pixelColor(2, 2), kWater);
        window.runtime.raiseTick(window.form.Timer1);
        QCOMPARE(window.view.contentsOffset(), QPoint(-7, 0));
    }

    // A player who asked the desktop for reduced motion: the game shakes
    // as ever, but the window and what it shows stand still, and the ground
    // turns red and stays so for a while rather than flashing.
    void withReducedMotionTheScaldStandsStillInRed_data() {
        QTest::addColumn<bool>("canMove");
        QTest::newRow("a window that moves") << true;
        QTest::newRow("a window that cannot") << false;
    }
    void withReducedMotionTheScaldStandsStillInRed() {
        QFETCH(bool, canMove);
        Form1 form;
        game::Game game{form};
        FormView view{form};
        QtRuntime runtime{form, game, view};
        runtime.setTimeScale(1e-4);
        runtime.setWindowPlacer(canMove ? placerFor(QStringLiteral("xcb"))
                                        : std::make_unique<UnmovableWindow>());
        runtime.setReducedMotion(true);
        runtime.start();
        const QPoint home = view.pos();
        const forms::Twips left = form.left();
        const QColor shown[] = {kWhite, kRed, kRed};
        for (const QColor& colour : shown) {
            game.ShakeStep(kScaldColour);
            QCOMPARE(view.pos(), home);
            QCOMPARE(view.contentsOffset(), QPoint(0, 0));
            QCOMPARE(view.grab().toImage().pixelColor(2, 2), colour);
        }
        // The game never knew.
        QCOMPARE(form.left(), left - 105);
        QCOMPARE(form.backColor(), 0xFFFFFFu);
    }

    void movesThatLandLateDoNotLeadTheShakeAstray() {
        LateWindow window;
        const forms::Twips home = window.form.left();
        const forms::Twips top = window.form.top();
        // Aside, back, aside: none of it on the screen yet.
        for (int step = 0; step < 3; ++step) {
            window.game.ShakeStep(kFloodColour);
        }
        QCOMPARE(window.form.left(), home - 105);
        // The window gets as far as the second move, back home, while the
        // game stands aside: it goes on back home, not 7 pixels past it.
        window.mover->carryOut(window.view, 2);
        QCOMPARE(window.view.pos().x(), toPixels(home));
        window.game.ShakeStep(kFloodColour);
        QCOMPARE(window.form.left(), home);
        window.mover->carryOut(window.view, 2);
        for (int step = 0; step < 40; ++step) {
            window.game.ShakeStep(kFloodColour);
            window.mover->carryOut(window.view, step % 3);
        }
        QCOMPARE(window.form.left(), home);
        QCOMPARE(window.form.top(), top);
    }

    void aWindowTheWindowSystemMovesShakesAroundItsNewPlace() {
        LateWindow window;
        const forms::Twips home = window.form.left();
        window.game.ShakeStep(kFloodColour);
        window.mover->carryOut(window.view, 1);
        // The player drags it 200 pixels right and 100 down.
        const QPoint dragged = window.view.pos() + QPoint(200, 100);
        window.view.windowHandle()->setFramePosition(dragged);
        QCoreApplication::processEvents();
        QCOMPARE(window.form.left(), toTwips(dragged.x()));
        QCOMPARE(window.form.top(), toTwips(dragged.y()));
        window.game.ShakeStep(kFloodColour);
        QCOMPARE(window.form.left(), home + toTwips(200));
    }
};

QTEST_MAIN(PlacementTest)
#include "test_placement.moc"
