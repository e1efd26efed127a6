// timer.cpp: how punctually ヨポ's real runtime delivers Timer1's ticks.
//
//   yopo-bench-timer --interval MS --ticks N [--rewrite]
//
// Opens ヨポ's window with the Qt runtime, runs Timer1 at MS milliseconds and
// notes when each tick reaches the handler. Each tick changes the balloon's
// caption, so the window repaints as it does at every tick of the game; with
// --rewrite it also writes the interval again, as heating and the shake do.
#include "form1.h"
#include "form_view.h"
#include "qt_runtime.h"
#include "tick_log.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <string>

namespace {

// Stands in for the game: its ticks are timed, its caption counts them.
class Probe : public forms::FormEvents {
public:
    Probe(forms::Form1& form, int interval, int ticks, bool rewrite)
        : m_form(form), m_log(interval, ticks), m_rewrite(rewrite) {}

    void begin(int interval) {
        m_form.Timer1.setInterval(interval);
        m_form.Timer1.setEnabled(true);
        m_log.started();
    }

    void load() override {}
    void click(const forms::CommandButton&) override {}
    void tick(const forms::Timer& timer) override {
        m_log.tick();
        if (m_rewrite) {
            m_form.Timer1.setInterval(timer.interval());
        }
        m_form.Lbl_msg.setCaption(std::to_string(++m_count) + " 回目");
        if (m_log.full()) {
            m_form.Timer1.setEnabled(false);
            m_log.print(stdout, m_rewrite ? "yopo: QtRuntime, interval rewritten at every tick"
                                          : "yopo: QtRuntime");
            QCoreApplication::quit();
        }
    }

private:
    forms::Form1& m_form;
    bench::TickLog m_log;
    bool m_rewrite;
    int m_count = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    int interval = 0;
    int ticks = 0;
    bool rewrite = false;
    bool ok = true;
    for (qsizetype i = 1; ok && i < arguments.size(); ++i) {
        if (arguments[i] == "--interval" && i + 1 < arguments.size()) {
            interval = arguments[++i].toInt(&ok);
        } else if (arguments[i] == "--ticks" && i + 1 < arguments.size()) {
            ticks = arguments[++i].toInt(&ok);
        } else if (arguments[i] == "--rewrite") {
            rewrite = true;
        } else {
            ok = false;
        }
    }
    if (!ok || interval <= 0 || interval > forms::Timer::kLongestInterval || ticks <= 0) {
        std::fprintf(stderr, "usage: yopo-bench-timer --interval MS --ticks N [--rewrite]\n");
        return 2;
    }

    forms::Form1 form;
    Probe probe(form, interval, ticks, rewrite);
    front::qt::FormView view(form);
    front::qt::QtRuntime runtime(form, probe, view);
    runtime.start();
    probe.begin(interval);
    return QApplication::exec();
}
