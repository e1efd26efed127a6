// test_window_show.cpp: what the player sees of the catastrophe shake, on a
// fake clock: exactly the game's moves by default, with the ground flashing
// no more than three times in any one second, and with reduced motion a
// still window whose ground changes at most twice a second.
#include "opening_place.h"
#include "window_show.h"

#include <QTest>

#include <tuple>
#include <utility>
#include <vector>

using namespace runtime;

Q_DECLARE_METATYPE(std::vector<Milliseconds>)

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kScaldColour = 0x0000FF;
constexpr Colour kFloodColour = 0xFFFFC0;
// Where the window system has the window; the shake's step lands on 7 pixels.
constexpr Place kHome{10770, 5430};
constexpr Place kAside{kHome.left - 105, kHome.top};

const WindowFacts kMoves{true, kHome};
const WindowFacts kStays{false, kHome};

// The game's shake as the view hears of it: each step moves the window
// aside on white, or back in the catastrophe's colour.
struct Step {
    Place place;
    Colour painted;
};
Step shakeStep(int step, Colour catastrophe) {
    return step % 2 == 0 ? Step{kAside, kWhite} : Step{kHome, catastrophe};
}

WindowShow::Shown decide(WindowShow& show, const Step& step, const WindowFacts& window,
                         Milliseconds now) {
    show.gameMoved();
    return show.decide(step.place, step.painted, window, now);
}

// The moments the player sees a new ground colour.
struct Seen {
    Milliseconds at;
    Colour ground;
};

} // namespace

class WindowShowTest : public QObject {
    Q_OBJECT

private slots:
    void byDefaultThePlayerSeesExactlyWhatTheGameDoes_data() {
        QTest::addColumn<bool>("canMove");
        QTest::newRow("a window that moves goes where the game sends it") << true;
        QTest::newRow("where it cannot, its contents go as far aside") << false;
    }
    // The flood's colours do not flash: they too are shown as they are.
    void byDefaultThePlayerSeesExactlyWhatTheGameDoes() {
        QFETCH(bool, canMove);
        const WindowFacts window{canMove, kHome};
        WindowShow show;
        for (int step = 0; step < 40; ++step) {
            const Step game = shakeStep(step, kFloodColour);
            const WindowShow::Shown shown = decide(show, game, window, Milliseconds{step} * 50);
            QCOMPARE(shown.ground, game.painted);
            QCOMPARE(shown.moveWindowTo.has_value(), canMove);
            if (canMove) {
                QCOMPARE(*shown.moveWindowTo, game.place);
                QCOMPARE(shown.offset, drawing::ContentsOffset{});
            } else {
                const int aside = game.place == kAside ? -7 : 0;
                QCOMPARE(shown.offset, (drawing::ContentsOffset{aside, 0}));
            }
        }
        // A repaint alone moves nothing.
        QVERIFY(!show.decide(kHome, kWhite, window, 2000).moveWindowTo);
    }

    void whichChangesFlash_data() {
        QTest::addColumn<Colour>("from");
        QTest::addColumn<Colour>("to");
        QTest::addColumn<bool>("flashes");
        QTest::newRow("the scald's white and red") << kWhite << kScaldColour << true;
        QTest::newRow("and back") << kScaldColour << kWhite << true;
        QTest::newRow("the flood's white and light cyan") << kWhite << kFloodColour << false;
        QTest::newRow("black and white, by luminance") << Colour{0} << kWhite << true;
        QTest::newRow("two light greys, both bright") << Colour{0xF0F0F0} << kWhite << false;
        QTest::newRow("black and a dark red, by its red alone")
            << Colour{0} << Colour{0x000080} << true;
    }
    void whichChangesFlash() {
        QFETCH(Colour, from);
        QFETCH(Colour, to);
        QFETCH(bool, flashes);
        QCOMPARE(FlashLimit::flashes(from, to), flashes);
    }

    // Each clock delivers the shake's steps: the gaps between the moments
    // its steps reach the screen, repeated. By default the scald's ground
    // changes at most six times (three flashes) in any one second; with
    // reduced motion any ground at most twice.
    void theGroundFlashesNoFasterThanIsSafe_data() {
        QTest::addColumn<bool>("reduced");
        QTest::addColumn<Colour>("catastrophe");
        QTest::addColumn<std::vector<Milliseconds>>("gaps");
        std::vector<Milliseconds> onceASecond(19, 0);
        onceASecond.push_back(1000);
        const std::pair<const char*, std::vector<Milliseconds>> clocks[] = {
            {"the shake's own pace", {50}},
            {"a clock a hundred times faster", {0, 1}},
            {"ticks caught up in batches", {0, 0, 0, 0, 0, 0, 350}},
            {"a clock that wakes once a second", onceASecond},
            {"a machine that stutters", {50, 3, 180, 50, 0, 420, 50, 7, 499, 501}},
        };
        const std::tuple<const char*, bool, Colour> shows[] = {
            {"a scald", false, kScaldColour},
            {"a scald, reduced motion", true, kScaldColour},
            {"a flood, reduced motion", true, kFloodColour},
        };
        for (const auto& [show, reduced, catastrophe] : shows) {
            for (const auto& [clock, gaps] : clocks) {
                QTest::addRow("%s at %s", show, clock) << reduced << catastrophe << gaps;
            }
        }
    }
    void theGroundFlashesNoFasterThanIsSafe() {
        QFETCH(bool, reduced);
        QFETCH(Colour, catastrophe);
        QFETCH(std::vector<Milliseconds>, gaps);
        constexpr Milliseconds kRun = 20000;
        const int most = reduced ? 2 : 6;
        WindowShow moving;
        WindowShow staying;
        moving.setReducedMotion(reduced);
        staying.setReducedMotion(reduced);
        std::vector<Seen> seen{{0, kWhite}};
        Milliseconds now = 0;
        for (int step = 0; now < kRun; now += gaps[step % gaps.size()], ++step) {
            const Step game = shakeStep(step, catastrophe);
            const WindowShow::Shown shown = decide(moving, game, kMoves, now);
            const WindowShow::Shown still = decide(staying, game, kStays, now);
            QCOMPARE(still.ground, shown.ground);
            if (reduced) {
                // Neither the window nor what it shows moves.
                QVERIFY(!shown.moveWindowTo);
                QCOMPARE(still.offset, drawing::ContentsOffset{});
            }
            if (step == 1) {
                // The catastrophe shows at once.
                QCOMPARE(shown.ground, catastrophe);
            }
            if (shown.ground != seen.back().ground) {
                seen.push_back({now, shown.ground});
            }
        }
        for (std::size_t first = 1; first < seen.size(); ++first) {
            int changes = 0;
            for (std::size_t i = first; i < seen.size() && seen[i].at < seen[first].at + 1000;
                 ++i) {
                ++changes;
            }
            QVERIFY2(changes <= most, qPrintable(QString("%1 changes in the second from %2 ms")
                                                     .arg(changes)
                                                     .arg(seen[first].at)));
        }
        // And it stays plain to see: the catastrophe's colour is on the
        // screen for a third of the time at least.
        Milliseconds inColour = 0;
        for (std::size_t i = 0; i < seen.size(); ++i) {
            const Milliseconds until = i + 1 < seen.size() ? seen[i + 1].at : now;
            if (seen[i].ground == catastrophe) {
                inColour += until - seen[i].at;
            }
        }
        QVERIFY2(inColour * 3 >= now,
                 qPrintable(QString("in colour %1 of %2 ms").arg(inColour).arg(now)));
    }

    void thePreferenceTakesEffectAtOnce() {
        WindowShow show;
        Milliseconds now = 0;
        int step = 0;
        for (; step < 9; ++step, now += 50) {
            decide(show, shakeStep(step, kFloodColour), kStays, now);
        }
        // Asked for mid-shake, standing aside: everything comes home and stays.
        show.setReducedMotion(true);
        for (; step < 20; ++step, now += 50) {
            QCOMPARE(decide(show, shakeStep(step, kFloodColour), kStays, now).offset,
                     drawing::ContentsOffset{});
        }
        // And off again: the game's own shake, from the next step.
        show.setReducedMotion(false);
        const Step game = shakeStep(step, kFloodColour);
        const WindowShow::Shown shown = decide(show, game, kStays, now);
        QCOMPARE(shown.offset, (drawing::ContentsOffset{-7, 0}));
        QCOMPARE(shown.ground, game.painted);
    }

    // Switched on while the shake has the window aside: it goes home at once,
    // by the step back, from wherever the player may have dragged it, and
    // stays there.
    void reducedMotionMidShakeSendsTheWindowHome_data() {
        QTest::addColumn<float>("dragged");
        QTest::newRow("where the shake left it") << 0.0f;
        QTest::newRow("dragged 300 twips to the right") << 300.0f;
    }
    void reducedMotionMidShakeSendsTheWindowHome() {
        QFETCH(float, dragged);
        WindowShow show;
        Milliseconds now = 0;
        int step = 0;
        for (; step < 9; ++step, now += 50) {
            decide(show, shakeStep(step, kScaldColour), kMoves, now);
        }
        const Place standing{kAside.left + dragged, kAside.top};
        show.setReducedMotion(true);
        const WindowShow::Shown home = show.decide(standing, kWhite, kMoves, now);
        QVERIFY(home.moveWindowTo);
        QCOMPARE(*home.moveWindowTo, (Place{kHome.left + dragged, kHome.top}));
        for (; step < 20; ++step, now += 50) {
            QVERIFY(!decide(show, shakeStep(step, kScaldColour), kMoves, now).moveWindowTo);
        }
    }

    // Where every front end opens its window: its inside of 485 by 357
    // pixels, or the whole window with a frame.
    void theWindowOpensCentredOnTheWorkArea_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("a full HD screen, the odd pixel over to the right and down")
            << 0 << 0 << 1920 << 1080 << 485 << 718 << 362;
        QTest::newRow("a work area beside a panel")
            << 64 << 32 << 1856 << 1048 << 485 << 750 << 378;
        QTest::newRow("a window with its frame") << 0 << 0 << 1280 << 1024 << 491 << 395 << 334;
        QTest::newRow("a screen smaller than the window: its top left corner")
            << 10 << 20 << 400 << 300 << 485 << 10 << 20;
    }
    void theWindowOpensCentredOnTheWorkArea() {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, windowWidth);
        QFETCH(int, x);
        QFETCH(int, y);
        QCOMPARE(runtime::openingPlace({left, top, width, height}, windowWidth, 357),
                 (ScreenPlace{x, y}));
    }
};

QTEST_GUILESS_MAIN(WindowShowTest)
#include "test_window_show.moc"
