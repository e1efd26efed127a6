// main.cpp: ヨポ. Creates the window, lets the game greet the player, and runs.
#include "font_warm_up.h"
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "identity.h"
#include "motion_preference.h"
#include "qt_options.h"
#include "qt_runtime.h"
#include "surroundings.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    // Read before anything else: neither an answer nor a refusal needs a display.
    if (const std::optional<int> ended = yopo::readArguments(argc, argv)) {
        return *ended;
    }
    if (!yopo::namesPlatform(argc, argv) && !yopo::displayNamed()) {
        return yopo::kCannotStart;
    }
    std::optional<yopo::StartUpGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    yopo::watchForDisplayLoss();
    // Qt has taken its own options out of argv; any left are another platform's.
    if (const std::optional<int> refused = yopo::refuseLeftovers(argc, argv)) {
        return *refused;
    }
    // Names the desktop entry, so that docks and Wayland show the game's own icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(yopo::kAppId));
    // The fonts are read on the other core while the window is built and its
    // pictures decoded, none of which asks for a font.
    yopo::FontWarmUp fonts;
    // The window paints its own white ground and black text, so it wants
    // the plain light look whatever the desktop's theme.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(front::qt::FormView::formFont(forms::kDefaultFontSize));

    forms::Form1 form;
    yopo::Game game(form);
    front::qt::FormView view(form);
    if (const QStringList broken = view.unreadablePictures(); !broken.isEmpty()) {
        std::fprintf(stderr,
                     "yopo: cannot read the picture %s; the program is damaged, reinstall it\n",
                     qPrintable(broken.join(QStringLiteral(", "))));
        return yopo::kCannotStart;
    }
    fonts.wait();
    yopo::warnIfNoJapaneseFont(front::qt::FormView::japaneseFaces());
    front::qt::QtRuntime runtime(form, game, view);
    // A maintainers' switch, off unless set: YOPO_TIME_SCALE=100 runs the clock 100 times faster.
    if (const double scale = qEnvironmentVariable("YOPO_TIME_SCALE").toDouble(); scale > 0) {
        runtime.setTimeScale(scale);
    }
    runtime.start();
    // Asked once the window is up; the answer comes long before any catastrophe.
    front::qt::MotionPreference motion;
    QObject::connect(&motion, &front::qt::MotionPreference::told, &runtime,
                     [&runtime](bool reduced) { runtime.setReducedMotion(reduced); });
    return QApplication::exec();
}
