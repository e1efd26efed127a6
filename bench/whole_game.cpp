// whole_game.cpp: one whole game of ヨポ in its real window, played by a robot
// player through the real push buttons, for the memory checker to watch.
//
//   yopo-bench-game good|flood|scald
//
// good:  fills to 1600 twips, heats to 45 degrees, is judged, reads the report
// flood: lets the tap run over and shakes 200 steps
// scald: stops the tap at once, lets it boil and shakes 200 steps
// The clock runs 1000 times faster, so a game takes seconds; the exit status
// is 0 only if the game got to its end.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "qt_runtime.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

constexpr double kTimeScale = 1000;
constexpr int kShakeSteps = 200;

enum class Road { Good, Flood, Scald };

// Hands every event to the game, and after each tick decides, as a player
// watching the window would, what to click next.
class Player : public forms::FormEvents {
public:
    Player(forms::Form1& form, game::Game& game, Road road)
        : m_form(form), m_game(game), m_events(game), m_road(road) {}

    void attach(front::qt::FormView& view) { m_view = &view; }
    bool finished() const { return m_finished; }

    void load() override {
        m_events.load();
        press(m_form.Command1); // the tap
        if (m_road == Road::Scald) {
            press(m_form.Command1); // stopped at once
            press(m_form.Command2); // the fire
        }
    }
    void click(const forms::CommandButton& button) override { m_events.click(button); }
    void tick(const forms::Timer& timer) override {
        m_events.tick(timer);
        const game::GameState& s = m_game.state();
        if (m_form.Timer1.interval() == game::kShakeInterval) {
            if (++m_shakeSteps == kShakeSteps) {
                finish(s.ShakeSide == 0);
            }
        } else if (m_road == Road::Good && !m_tapStopped && m_form.Shp_water.height() >= 1600) {
            m_tapStopped = true;
            press(m_form.Command1);
            press(m_form.Command2);
        } else if (m_road == Road::Good && !m_judged && s.Temperature == 45) {
            m_judged = true;
            press(m_form.Command2); // judged
            press(m_form.Command3); // the report
            QTimer::singleShot(100, [this] {
                finish(m_form.Lbl_msg.caption().find("・・・終わり。") != std::string::npos);
            });
        }
    }

private:
    // Clicks the real push button once the event loop is free, as a player would.
    void press(const forms::CommandButton& button) {
        QTimer::singleShot(0, [this, &button] { m_view->button(button)->click(); });
    }
    void finish(bool ok) {
        m_finished = ok;
        QCoreApplication::exit(ok ? 0 : 1);
    }

    forms::Form1& m_form;
    const game::Game& m_game;
    // The game's handlers, as the runtime reaches them.
    forms::FormEvents& m_events;
    Road m_road;
    bool m_tapStopped = false;
    bool m_judged = false;
    front::qt::FormView* m_view = nullptr;
    int m_shakeSteps = 0;
    bool m_finished = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString road = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (road != "good" && road != "flood" && road != "scald") {
        std::fprintf(stderr, "usage: yopo-bench-game good|flood|scald\n");
        return 2;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(front::qt::FormView::formFont(forms::kDefaultFontSize));

    forms::Form1 form;
    game::Game game(form);
    Player player(form, game,
                  road == "good"    ? Road::Good
                  : road == "flood" ? Road::Flood
                                    : Road::Scald);
    front::qt::FormView view(form);
    player.attach(view);
    front::qt::QtRuntime runtime(form, player, view);
    runtime.setTimeScale(kTimeScale);
    runtime.start();
    const int status = QApplication::exec();
    if (!player.finished()) {
        std::fprintf(stderr, "yopo-bench-game: the %s game did not reach its end\n",
                     qPrintable(road));
        return 1;
    }
    std::printf("yopo-bench-game: the %s game played to its end\n", qPrintable(road));
    return status;
}
