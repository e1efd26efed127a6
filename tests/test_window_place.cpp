// test_window_place.cpp: the shake against window systems that carry its moves
// out late, several at once, apart from where they were sent, or not at all.
#include "form1.h"
#include "game.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>

using namespace forms;

namespace {

constexpr Colour kFloodColour = 0xFFFFC0;
// 100 twips land on 7 pixels.
constexpr Twips kStep = 105;
// Where the window system opens the window.
constexpr WindowPlace::Point kHome{10770, 5430};

// How a window system answers the game's moves.
struct Answering {
    // So many moves wait while the window system is busy elsewhere.
    int lag = 0;
    // So many moves are carried out before it says where the window stands.
    int together = 1;
    // It reports the answers to each pair of moves the wrong way round.
    bool outOfOrder = false;
    // Where it puts the window, from where it was sent: a frame, say.
    WindowPlace::Point frame = {};
    // It keeps the window right of this.
    std::optional<Twips> leftEdge = std::nullopt;
    // It leaves the window where it stands.
    bool refuses = false;
};

// A window system that carries the game's moves out only when it gets to
// them, and says where the window then stands.
class LateWindowSystem final : public FormObserver {
public:
    LateWindowSystem(Form& form, Answering answering)
        : m_form(form), m_answering(answering), m_at(kHome) {
        m_form.addObserver(this);
        report(m_at);
    }
    ~LateWindowSystem() override { m_form.removeObserver(this); }

    // Where the window really stands.
    WindowPlace::Point at() const { return m_at; }

    // Carries out every waiting move but the last `keep`.
    void catchUp(std::size_t keep = 0) {
        while (m_waiting.size() > keep) {
            std::vector<WindowPlace::Point> seen;
            for (int i = 0; i < m_answering.together && m_waiting.size() > keep; ++i) {
                carryOut(m_waiting.front());
                m_waiting.pop_front();
                seen.push_back(m_at);
            }
            // Two moves carried out, the later reported first.
            if (m_answering.outOfOrder && seen.size() == 1 && !m_waiting.empty()) {
                carryOut(m_waiting.front());
                m_waiting.pop_front();
                seen.insert(seen.begin(), m_at);
            }
            if (m_answering.together > 1) {
                seen.erase(seen.begin(), seen.end() - 1);
            }
            for (const WindowPlace::Point& place : seen) {
                report(place);
            }
        }
    }
    // The player holds the window at `place`; the window system keeps it
    // there, whatever the game asks, and reports it at once.
    void hold(WindowPlace::Point place) {
        m_held = true;
        m_at = place;
        report(m_at);
    }
    void letGo() { m_held = false; }
    void changeFrame(WindowPlace::Point frame) { m_answering.frame = frame; }

private:
    void controlChanged(const Control&, Property) override {}
    void formChanged(Property property) override {
        if (property == Property::Left) {
            m_waiting.push_back({m_form.left(), m_form.top()});
            catchUp(static_cast<std::size_t>(m_answering.lag));
        }
    }
    void carryOut(WindowPlace::Point target) {
        if (m_answering.refuses || m_held) {
            return;
        }
        Twips left = target.left + m_answering.frame.left;
        if (m_answering.leftEdge) {
            left = std::max(left, *m_answering.leftEdge);
        }
        m_at = {left, target.top + m_answering.frame.top};
    }
    void report(WindowPlace::Point place) { m_form.windowStandsAt(place.left, place.top); }

    Form& m_form;
    Answering m_answering;
    WindowPlace::Point m_at;
    bool m_held = false;
    std::deque<WindowPlace::Point> m_waiting;
};

struct Shaking {
    Form1 form;
    game::Game game{form};
    LateWindowSystem windowSystem;

    explicit Shaking(Answering answering) : windowSystem(form, answering) {}

    // Shakes on for `steps` steps, checking after each that the game reads
    // back its own move, aside from `centre` or at it.
    bool shake(int steps, WindowPlace::Point centre) {
        for (int step = 0; step < steps; ++step) {
            game.ShakeStep(kFloodColour);
            const Twips expected = game.state().ShakeSide == 1 ? centre.left - kStep : centre.left;
            if (form.left() != expected || form.top() != centre.top) {
                qWarning("step %d: the game reads (%g, %g), expected (%g, %g)", step,
                         double(form.left()), double(form.top()), double(expected),
                         double(centre.top));
                return false;
            }
        }
        return true;
    }
};

constexpr WindowPlace::Point kFrame{4 * kTwipsPerPixel, 20 * kTwipsPerPixel};

} // namespace

Q_DECLARE_METATYPE(Answering)

class WindowPlaceTest : public QObject {
    Q_OBJECT

private slots:
    void theShakeKeepsItsPlaceHoweverTheWindowSystemAnswers_data() {
        QTest::addColumn<Answering>("answering");
        QTest::addColumn<bool>("windowMoves");
        QTest::newRow("at once") << Answering{} << true;
        QTest::newRow("a move behind") << Answering{.lag = 1} << true;
        QTest::newRow("twenty moves behind") << Answering{.lag = 20} << true;
        QTest::newRow("five moves in one report, three behind")
            << Answering{.lag = 3, .together = 5} << true;
        QTest::newRow("answers out of order") << Answering{.lag = 1, .outOfOrder = true} << true;
        QTest::newRow("with a frame added") << Answering{.frame = kFrame} << true;
        QTest::newRow("with a frame, late, several in one report")
            << Answering{.lag = 7, .together = 3, .frame = kFrame} << true;
        QTest::newRow("refusing every move") << Answering{.refuses = true} << false;
        QTest::newRow("held at the screen's edge") << Answering{.leftEdge = kHome.left} << false;
    }
    void theShakeKeepsItsPlaceHoweverTheWindowSystemAnswers() {
        QFETCH(Answering, answering);
        QFETCH(bool, windowMoves);
        Shaking shaking(answering);
        QVERIFY(shaking.shake(401, kHome));
        shaking.windowSystem.catchUp();
        // Where the last move, aside, put it, or where it stayed.
        const WindowPlace::Point expected =
            windowMoves ? WindowPlace::Point{kHome.left - kStep + answering.frame.left,
                                             kHome.top + answering.frame.top}
                        : kHome;
        QCOMPARE(shaking.windowSystem.at(), expected);
        QVERIFY(shaking.shake(40, kHome));
    }

    void aWindowDraggedDuringTheShakeShakesAroundItsNewPlace_data() {
        QTest::addColumn<Answering>("answering");
        QTest::addColumn<int>("pieces");
        QTest::newRow("at once, in one go") << Answering{} << 1;
        QTest::newRow("at once, bit by bit between steps") << Answering{} << 6;
        QTest::newRow("late, in one go") << Answering{.lag = 4} << 1;
        QTest::newRow("late, bit by bit between steps") << Answering{.lag = 4} << 6;
        QTest::newRow("late, several in one report, bit by bit")
            << Answering{.lag = 5, .together = 4} << 6;
        QTest::newRow("with a frame, late, bit by bit")
            << Answering{.lag = 2, .frame = kFrame} << 6;
    }
    void aWindowDraggedDuringTheShakeShakesAroundItsNewPlace() {
        QFETCH(Answering, answering);
        QFETCH(int, pieces);
        Shaking shaking(answering);
        QVERIFY(shaking.shake(21, kHome));
        const WindowPlace::Point start = shaking.windowSystem.at();
        const WindowPlace::Point there{start.left + 3000, start.top - 1500};
        for (int piece = 1; piece <= pieces; ++piece) {
            const Twips part = static_cast<Twips>(piece) / static_cast<Twips>(pieces);
            shaking.windowSystem.hold({snapToPixel(start.left + (there.left - start.left) * part),
                                       snapToPixel(start.top + (there.top - start.top) * part)});
            if (piece < pieces) {
                shaking.game.ShakeStep(kFloodColour);
            }
        }
        shaking.windowSystem.letGo();
        // The game reads the window where the player left it, as a place it
        // could have sent it to, and goes on around it.
        const WindowPlace::Point left{there.left - answering.frame.left,
                                      there.top - answering.frame.top};
        QCOMPARE(shaking.form.left(), left.left);
        QCOMPARE(shaking.form.top(), left.top);
        const Twips side = shaking.game.state().ShakeSide == 1 ? kStep : 0;
        QVERIFY(shaking.shake(40, {left.left + side, left.top}));
        shaking.windowSystem.catchUp();
        QCOMPARE(shaking.windowSystem.at(),
                 (WindowPlace::Point{shaking.form.left() + answering.frame.left,
                                     shaking.form.top() + answering.frame.top}));
    }

    void aFrameThatChangesDuringTheShakeMovesItOnceAtMost() {
        Shaking shaking(Answering{.lag = 2});
        QVERIFY(shaking.shake(50, kHome));
        shaking.windowSystem.changeFrame(kFrame);
        // The first answer apart is taken for the player's; from the second
        // on it is the window system's way, and the shake stays put.
        for (int step = 0; step < 10; ++step) {
            shaking.game.ShakeStep(kFloodColour);
        }
        const Twips side = shaking.game.state().ShakeSide == 1 ? kStep : 0;
        const WindowPlace::Point centre{shaking.form.left() + side, shaking.form.top()};
        QVERIFY(std::abs(centre.left - kHome.left) <= kFrame.left + kStep);
        QVERIFY(std::abs(centre.top - kHome.top) <= kFrame.top);
        QVERIFY(shaking.shake(200, centre));
    }

    void theWindowOpensWhereTheWindowSystemLastPutIt() {
        Form1 form;
        game::Game game{form};
        // The program asks for the middle of the screen; the window manager
        // puts it elsewhere, in two goes, before the game moves it.
        QVERIFY(form.windowStandsAt(10770, 5430));
        QVERIFY(form.windowStandsAt(3000, 2000));
        QVERIFY(form.windowStandsAt(3015, 2400));
        QCOMPARE(form.left(), 3015.0f);
        QCOMPARE(form.top(), 2400.0f);
        game.ShakeStep(kFloodColour);
        QCOMPARE(form.left(), 3015.0f - kStep);
        // Answered: nobody moved it.
        QVERIFY(!form.windowStandsAt(3015.0f - kStep, 2400));
        QVERIFY(!form.windowStandsAt(NAN, 2400));
        QCOMPARE(form.left(), 3015.0f - kStep);
    }
};

QTEST_APPLESS_MAIN(WindowPlaceTest)
#include "test_window_place.moc"
