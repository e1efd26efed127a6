// test_soak.cpp: the game survives anything. Random play over many games, any
// click in any state, checked after every command; and days of shaking after a
// flood and after a scald, with the heap watched.
//
// The soak's length and seed come from the environment. The suite plays a short
// soak, a second or so, so that every build of the game (a package's too) can
// afford it; run it long by hand:
//   YOPO_SOAK_COMMANDS=100000000 YOPO_SOAK_SEED=7 build/tests/test_soak
#include "play.h"
#include "script.h"
#include "state_json.h"

#include <QTest>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// Every block taken with new is counted while it lives, so that a test can see
// whether the heap in use grows while the window shakes.
namespace {
std::atomic<long long> g_liveBlocks{0};
std::atomic<long long> g_liveBytes{0};
} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++g_liveBlocks;
    g_liveBytes += static_cast<long long>(malloc_usable_size(block));
    return block;
}

void operator delete(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    --g_liveBlocks;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

namespace {

constexpr long long kDay = 24LL * 3600 * 1000;
constexpr forms::Twips kShakeStep = 105; // 100 twips, on the nearest whole pixel
constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr forms::Colour kWater = 0xFFFFC0;
constexpr forms::Colour kRed = 0x0000FF;
constexpr long long kShortSoak = 200'000;
// Enough commands for every road to come up many times over.
constexpr long long kEnoughForEveryRoad = 100'000;

long long environmentNumber(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoll(text, nullptr, 10) : fallback;
}

enum class Verb { Click, Tick, Wait, Drag };

struct Command {
    Verb verb = Verb::Tick;
    int button = 0; // 1, 2 or 3
    long long count = 0;
    forms::Twips dx = 0, dy = 0;

    std::string text() const {
        std::ostringstream out;
        switch (verb) {
        case Verb::Click:
            out << "click Command" << button;
            break;
        case Verb::Tick:
            out << "tick " << count;
            break;
        case Verb::Wait:
            out << "wait " << count;
            break;
        case Verb::Drag:
            out << "drag " << dx << ' ' << dy;
            break;
        }
        return out.str();
    }
};

// What a check compares before and after a command.
struct Seen {
    game::GameState state;
    forms::Twips left, top;
    forms::Colour backColor;
    long long clock;
    bool clickable[4];

    explicit Seen(const Play& play)
        : state(play.state()), left(play.form.left()), top(play.form.top()),
          backColor(play.form.backColor()),
          clock(play.runtime.clock()), clickable{false, play.form.Command1.canBeClicked(),
                                                 play.form.Command2.canBeClicked(),
                                                 play.form.Command3.canBeClicked()} {}
};

forms::CommandButton& buttonOf(Play& play, int number) {
    return number == 1 ? play.form.Command1 : number == 2 ? play.form.Command2 : play.form.Command3;
}

bool sameScores(const game::GameState& a, const game::GameState& b) {
    return a.WaterScore == b.WaterScore && a.HeatScore == b.HeatScore &&
           a.TotalScore == b.TotalScore;
}

// How often each road of the game was reached, so that a soak that never got
// anywhere does not pass for one that checked everything.
struct Roads {
    long long games = 0, floods = 0, scalds = 0, judged = 0, reports = 0;
    long long shakeSteps = 0;
};

// One random game: its own taste for clicking, so that some games let the tap
// run over, some boil the tub and some are judged.
class RandomGame {
public:
    RandomGame(std::mt19937_64& random, Roads& roads) : m_random(random), m_roads(roads) {
        const int tastes[] = {1, 3, 10, 40};
        m_clickWeight = tastes[uniform(0, 3)];
        ++m_roads.games;
    }

    // Plays one random command and checks the game after it; an empty
    // string if all is well, else what went wrong.
    std::string step(std::string& played) {
        const Command command = draw();
        played = command.text();
        const Seen before(m_play);
        const std::string wholeBefore = command.verb == Verb::Click ? stateJson() : std::string();
        bool accepted = false;
        switch (command.verb) {
        case Verb::Click:
            accepted = m_play.click(buttonOf(m_play, command.button));
            break;
        case Verb::Tick:
            for (long long i = 0; i < command.count && m_play.runtime.tick(); ++i) {
            }
            break;
        case Verb::Wait:
            m_play.runtime.wait(command.count);
            break;
        case Verb::Drag:
            m_play.runtime.drag(command.dx, command.dy);
            break;
        }
        const Seen after(m_play);
        if (command.verb == Verb::Click && !accepted && stateJson() != wholeBefore) {
            return "a click the game had not enabled changed the game";
        }
        return check(command, accepted, before, after);
    }

private:
    int uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

    Command draw() {
        Command c;
        const int roll = uniform(0, 99 + 3 * m_clickWeight);
        if (roll < 3 * m_clickWeight) {
            c.verb = Verb::Click;
            c.button = 1 + roll % 3;
        } else if (roll < 3 * m_clickWeight + 70) {
            c.verb = Verb::Tick;
            c.count = uniform(0, 4) == 0 ? uniform(0, 120) : uniform(1, 10);
        } else if (roll < 3 * m_clickWeight + 88) {
            c.verb = Verb::Wait;
            c.count = uniform(0, 9) == 0 ? uniform(0, 120000) : uniform(0, 7000);
        } else {
            c.verb = Verb::Drag;
            std::uniform_real_distribution<forms::Twips> distance(-3000, 3000);
            c.dx = distance(m_random);
            c.dy = distance(m_random);
        }
        return c;
    }

    std::string stateJson() const {
        return replay::stateJson(m_play.runtime.clock(), m_play.state(), m_play.form);
    }

    std::string check(const Command& command, bool accepted, const Seen& before,
                      const Seen& after) {
        const game::GameState& s = after.state;
        if (const auto& error = m_play.runtime.error()) {
            return std::string("a run-time error stopped the game: ") + error->what();
        }
        if (after.clock < before.clock) {
            return "the clock went back";
        }

        // Only a click the game enabled acts, and every such click does.
        if (command.verb == Verb::Click && accepted != before.clickable[command.button]) {
            return accepted ? "a disabled or hidden button was clicked"
                            : "an enabled, shown button refused its click";
        }

        // The phase only moves forward, one step, and only by a click.
        if (s.Phase < before.state.Phase || s.Phase > game::phase::kHeating) {
            return "the phase went from " + std::to_string(before.state.Phase) + " to " +
                   std::to_string(s.Phase);
        }
        if (s.Phase != before.state.Phase &&
            (command.verb != Verb::Click || s.Phase != before.state.Phase + 1)) {
            return "the phase moved without a click, or by more than one";
        }

        // The scores are set once, by judging, and never touched otherwise.
        const bool judging = command.verb == Verb::Click && accepted && command.button == 2 &&
                             before.state.Phase == game::phase::kHeating;
        if (judging) {
            if (m_judged) {
                return "the bath was judged twice";
            }
            if (s.WaterScore.type() != game::Variant::Type::Single || s.HeatScore.isEmpty()) {
                return "judging left a score empty";
            }
            m_judged = true;
            ++m_roads.judged;
        } else if (!sameScores(s, before.state)) {
            return "the scores changed without judging";
        }
        if (!m_judged && (!s.WaterScore.isEmpty() || !s.HeatScore.isEmpty() || s.TotalScore != 0)) {
            return "a score was set before judging";
        }
        if (command.verb == Verb::Click && accepted && command.button == 3) {
            ++m_roads.reports;
        }

        // The timer runs only while the tap runs, the fire burns or the window shakes.
        const forms::Timer& timer = m_play.form.Timer1;
        if (timer.enabled() &&
            (m_judged || s.Phase == game::phase::kNoWater || s.Phase == game::phase::kFilled)) {
            return "the timer runs with no tap open and no fire lit";
        }
        const bool shaking = timer.enabled() && timer.interval() == game::kShakeInterval;
        if (shaking && !m_shaking) {
            m_shaking = true;
            ++(s.Phase == game::phase::kTapRunning ? m_roads.floods : m_roads.scalds);
        }
        if (!shaking && m_shaking) {
            return "the shake stopped";
        }

        // The window moves only with the shake or a drag; each shake step
        // moves it 100 twips aside or back, and every second step brings it
        // back to its place.
        if (command.verb != Verb::Drag) {
            if (after.top != before.top) {
                return "the shake moved the window up or down";
            }
            const forms::Twips expected = s.ShakeSide == before.state.ShakeSide ? before.left
                                          : s.ShakeSide == 1 ? before.left - kShakeStep
                                                             : before.left + kShakeStep;
            if (after.left != expected) {
                return "the window stands at " + std::to_string(after.left) + " instead of " +
                       std::to_string(expected);
            }
            if (s.ShakeSide != before.state.ShakeSide) {
                m_roads.shakeSteps += 1;
            }
        }
        if (s.ShakeSide != 0 && s.ShakeSide != 1) {
            return "the shake lost its side";
        }
        if (m_shaking) {
            const forms::Colour catastrophe = s.Phase == game::phase::kTapRunning ? kWater : kRed;
            if (after.backColor != (s.ShakeSide == 1 ? kWhite : catastrophe)) {
                return "the shaking window has the wrong colour";
            }
        } else if (after.backColor != kWhite || s.ShakeSide != 0) {
            return "the window shook before any catastrophe";
        }
        return {};
    }

    std::mt19937_64& m_random;
    Roads& m_roads;
    Play m_play;
    int m_clickWeight;
    bool m_judged = false;
    bool m_shaking = false;
};

// The heap in use, in blocks and bytes.
struct Heap {
    long long blocks, bytes;
    bool operator==(const Heap&) const = default;
};

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void randomPlayStaysLegal() {
        const long long total = environmentNumber("YOPO_SOAK_COMMANDS", kShortSoak);
        const auto seed = static_cast<std::uint64_t>(environmentNumber("YOPO_SOAK_SEED", 1));
        std::mt19937_64 random(seed);
        Roads roads;
        long long played = 0;
        while (played < total) {
            RandomGame game(random, roads);
            const long long length = std::uniform_int_distribution<long long>(50, 3000)(random);
            for (long long i = 0; i < length && played < total; ++i, ++played) {
                std::string command;
                const std::string fault = game.step(command);
                if (!fault.empty()) {
                    QFAIL(qPrintable(QStringLiteral("seed %1, command %2 (%3, game %4): %5")
                                         .arg(seed)
                                         .arg(played)
                                         .arg(QString::fromStdString(command))
                                         .arg(roads.games)
                                         .arg(QString::fromStdString(fault))));
                }
            }
        }
        qInfo("%lld commands over %lld games: %lld floods, %lld scalds, %lld judged, "
              "%lld reports, %lld shake steps",
              played, roads.games, roads.floods, roads.scalds, roads.judged, roads.reports,
              roads.shakeSteps);
        // A soak that never reached a road did not check it.
        if (total >= kEnoughForEveryRoad) {
            QVERIFY(roads.floods > 0);
            QVERIFY(roads.scalds > 0);
            QVERIFY(roads.judged > 0);
            QVERIFY(roads.reports > 0);
        }
    }

    void daysOfShaking_data() {
        QTest::addColumn<bool>("flood");
        QTest::newRow("after a flood") << true;
        QTest::newRow("after a scald") << false;
    }
    void daysOfShaking() {
        QFETCH(bool, flood);
        Play play;
        const forms::Twips home = play.form.left();
        if (flood) {
            play.fillFor(408);
        } else {
            play.heatTo(0, 100);
        }
        QCOMPARE(play.form.Timer1.interval(), game::kShakeInterval);
        const long long struck = play.runtime.clock();
        const auto heap = [] { return Heap{g_liveBlocks.load(), g_liveBytes.load()}; };
        // The first day settles whatever the shake needs; after it, nothing
        // may grow, day after day.
        play.runtime.wait(kDay);
        const Heap settled = heap();
        const forms::Colour colour = flood ? kWater : kRed;
        for (int day = 2; day <= 3; ++day) {
            play.runtime.wait(kDay);
            QVERIFY(!play.runtime.error());
            const Heap now = heap();
            QVERIFY2(now == settled, qPrintable(QStringLiteral("day %1: %2 blocks, %3 bytes in "
                                                               "use after day 1: %4, %5")
                                                    .arg(day)
                                                    .arg(now.blocks)
                                                    .arg(now.bytes)
                                                    .arg(settled.blocks)
                                                    .arg(settled.bytes)));
        }
        // Three days are 5,184,000 steps plus the one that struck: back in place.
        QCOMPARE(play.state().ShakeSide, 1);
        QCOMPARE(play.form.left(), home - kShakeStep);
        play.runtime.tick();
        QCOMPARE(play.form.left(), home);
        QCOMPARE(play.form.backColor(), colour);
        QCOMPARE(play.runtime.clock(), struck + 3 * kDay + game::kShakeInterval);
    }

    // yopo-headless takes any line a maintainer types: numbers beyond what a
    // clock or a screen can hold stop the run as bad lines, never as a crash,
    // an overflow or a window sent nowhere.
    void wildScriptLines_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("badLine");
        QTest::newRow("a wait past the end of the clock") << "wait 9223372036854775807" << 2 << 1;
        QTest::newRow("a wait to the end of the clock, then one more")
            << "wait 4611686018427387903\nwait 1" << 2 << 2;
        QTest::newRow("a tap opened at the end of the clock still ticks")
            << "wait 4611686018427387903\nclick Command1\ntick 409\nstate" << 0 << 0;
        QTest::newRow("a drag by nan") << "drag nan 0" << 2 << 1;
        QTest::newRow("a drag by infinity") << "drag 0 -inf" << 2 << 1;
        QTest::newRow("a drag far past any screen") << "drag 1e10 0" << 2 << 1;
        QTest::newRow("two drags, the second past any screen")
            << "drag 400000 0\ndrag 400000 0" << 2 << 2;
        QTest::newRow("a flood at the farthest place shakes")
            << "drag -470000 -480000\nclick Command1\ntick 500\nstate" << 0 << 0;
    }
    void wildScriptLines() {
        QFETCH(QString, script);
        QFETCH(int, status);
        QFETCH(int, badLine);
        std::istringstream in(script.toStdString() + "\n");
        std::ostringstream out, err;
        QCOMPARE(replay::runScript(in, out, err), status);
        if (badLine > 0) {
            QVERIFY2(err.str().starts_with("yopo-headless: line " + std::to_string(badLine) +
                                           ": not a command: "),
                     err.str().c_str());
        } else {
            QCOMPARE(err.str(), std::string());
            QVERIFY(out.str().find("\"ShakeSide\":") != std::string::npos);
        }
    }

    // Random scripts of any command with any number: each ends done or at a
    // bad line, never in a run-time error.
    void randomScriptsEndCleanly() {
        std::mt19937_64 random(environmentNumber("YOPO_SOAK_SEED", 1));
        const std::vector<std::string> verbs = {
            "click", "tick", "wait",           "drag",           "state",
            "jump",  "#",    "click Command1", "click Command2", "click Command3"};
        const std::vector<std::string> numbers = {"0",
                                                  "1",
                                                  "7",
                                                  "50",
                                                  "408",
                                                  "6000",
                                                  "-1",
                                                  "-6000",
                                                  "3.5",
                                                  "1e9",
                                                  "1e39",
                                                  "nan",
                                                  "inf",
                                                  "-inf",
                                                  "0x10",
                                                  "",
                                                  "+5",
                                                  "65535",
                                                  "4611686018427387903",
                                                  "9223372036854775807",
                                                  "9223372036854775808",
                                                  "-0"};
        const auto pick = [&](const std::vector<std::string>& from) {
            return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
        };
        for (int i = 0; i < 2000; ++i) {
            std::string script;
            for (int line = 0; line < 12; ++line) {
                script += pick(verbs);
                for (int argument = std::uniform_int_distribution<int>(0, 2)(random); argument > 0;
                     --argument) {
                    // Appended in two steps: GCC 12 at -O3 takes " " + a temporary
                    // for an overlapping copy (-Wrestrict) that never happens.
                    script += ' ';
                    script += pick(numbers);
                }
                script += "\n";
            }
            std::istringstream in(script);
            std::ostringstream out, err;
            const int status = replay::runScript(in, out, err);
            QVERIFY2(status == replay::kScriptDone || status == replay::kScriptBadLine,
                     (script + err.str()).c_str());
        }
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "test_soak.moc"
