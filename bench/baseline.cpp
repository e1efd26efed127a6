// baseline.cpp: the floor every figure of ヨポ is measured against: a bare
// Qt Widgets window of ヨポ's client size with one Japanese label and two push
// buttons, nothing else.
//
//   yopo-baseline                the bare window
//   yopo-baseline --tick MS      ... whose label a precise timer rewrites every MS
//                                milliseconds: the least a ticking game can do
//   yopo-baseline --tick MS --ticks N
//                                ... and after N ticks prints how late they came
//   yopo-baseline --tick MS --ticks N --timerfd
//                                ... the ticks coming from a kernel timer (timerfd)
//                                instead of Qt's, to show what a tick can do
//   yopo-baseline --shake        ... which a 50 ms precise timer moves 7 pixels
//                                aside and back, repainting it in another colour
#include "tick_log.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

struct Options {
    int tick = 0;
    std::optional<int> ticks;
    bool shake = false;
    bool timerfd = false;
};

std::optional<Options> parse(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool ok = true;
        if (argument == "--tick" && i + 1 < arguments.size()) {
            options.tick = arguments[++i].toInt(&ok);
            ok = ok && options.tick > 0;
        } else if (argument == "--ticks" && i + 1 < arguments.size()) {
            options.ticks = arguments[++i].toInt(&ok);
            ok = ok && *options.ticks > 0;
        } else if (argument == "--shake") {
            options.shake = true;
        } else if (argument == "--timerfd") {
            options.timerfd = true;
        } else {
            ok = false;
        }
        if (!ok) {
            return std::nullopt;
        }
    }
    if ((options.ticks && options.tick == 0) || (options.shake && options.tick != 0) ||
        (options.timerfd && !options.ticks)) {
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::optional<Options> options = parse(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr,
                     "usage: yopo-baseline [--tick MS [--ticks N [--timerfd]] | --shake]\n");
        return 2;
    }

    // ヨポ's client area is 485 by 357 pixels; its buttons stand where ヨポ's do.
    QWidget window;
    window.setWindowTitle(QStringLiteral("yopo-baseline"));
    window.setFixedSize(485, 357);
    QLabel label(QStringLiteral("さぁ、まずヨポに水を入れましょう。"), &window);
    label.setGeometry(40, 40, 300, 16);
    QPushButton run(QStringLiteral("水を入れる"), &window);
    run.setGeometry(377, 240, 81, 25);
    QPushButton heat(QStringLiteral("沸かす"), &window);
    heat.setGeometry(377, 288, 81, 25);
    window.show();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int count = 0;
    std::optional<bench::TickLog> log;
    if (options->tick > 0) {
        if (options->ticks) {
            log.emplace(options->tick, *options->ticks);
        }
        const auto tick = [&] {
            if (log) {
                log->tick();
            }
            label.setText(QStringLiteral("%1 回目").arg(++count));
            if (log && log->full()) {
                log->print(stdout, options->timerfd ? "floor: a kernel timerfd, not a QTimer"
                                                    : "baseline: a bare precise QTimer");
                QCoreApplication::quit();
            }
        };
        if (options->timerfd) {
            // The kernel wakes a timerfd within the thread's timer slack (50 us),
            // where poll() may sleep 0.1 % of its timeout longer.
            const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
            itimerspec period{};
            period.it_interval.tv_sec = options->tick / 1000;
            period.it_interval.tv_nsec = (options->tick % 1000) * 1000000L;
            period.it_value = period.it_interval;
            timerfd_settime(fd, 0, &period, nullptr);
            auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &window);
            QObject::connect(notifier, &QSocketNotifier::activated, [&, fd] {
                std::uint64_t expirations = 0;
                if (read(fd, &expirations, sizeof expirations) == sizeof expirations) {
                    tick();
                }
            });
        } else {
            QObject::connect(&timer, &QTimer::timeout, tick);
            timer.start(options->tick);
        }
        if (log) {
            log->started();
        }
    } else if (options->shake) {
        window.setAutoFillBackground(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const bool aside = ++count % 2 == 1;
            window.move(window.pos() + QPoint(aside ? -7 : 7, 0));
            QPalette palette = window.palette();
            palette.setColor(QPalette::Window, aside ? Qt::white : QColor(255, 0, 0));
            window.setPalette(palette);
        });
        timer.start(50);
    }
    return QApplication::exec();
}
