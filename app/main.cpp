// main.cpp: ヨポ. Creates the window, lets the game greet the player, and runs.
#include "bath_file.h"
#include "font_warm_up.h"
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "identity.h"
#include "motion_preference.h"
#include "qt_options.h"
#include "qt_runtime.h"
#include "start_up.h"
#include "surroundings.h"

#include <QApplication>
#include <QSessionManager>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    // Read before anything else: neither an answer nor a refusal needs a display.
    if (const std::optional<int> ended = app::readArguments(argc, argv)) {
        return *ended;
    }
    if (!app::namesPlatform(argc, argv) && !app::displayNamed()) {
        return app::kCannotStart;
    }
    std::optional<app::StartUpGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    app::watchForDisplayLoss();
    // Qt has taken its own options out of argv; any left are another platform's.
    if (const std::optional<int> refused = app::refuseLeftovers(argc, argv)) {
        return *refused;
    }
    // Names the desktop entry, so that docks and Wayland show the game's own icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(app::kAppId));
    // The fonts are read on the other core while the window is built and its
    // pictures decoded, none of which asks for a font.
    app::FontWarmUp fonts;
    // The window paints its own white ground and black text, so it wants
    // the plain light look whatever the desktop's theme.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(front::qt::FormView::formFont(forms::kDefaultFontSize));

    forms::Form1 form;
    game::Game game(form);
    front::qt::FormView view(form);
    if (const std::optional<std::string> damaged = runtime::damagedPictures(
            form, [&view](const std::string& name) { return !view.picture(name).isNull(); })) {
        std::fprintf(stderr, "yopo: %s\n", damaged->c_str());
        return app::kCannotStart;
    }
    fonts.wait();
    app::warnIfNoJapaneseFont(front::qt::FormView::japaneseFaces());
    front::qt::QtRuntime runtime(form, game, view);
    if (const std::optional<double> scale = ::runtime::maintainersTimeScale()) {
        runtime.setTimeScale(*scale);
    }
    // The bath outlives a killed program or an ended session, not the
    // player's own close.
    front::qt::BathFile bathFile;
    ::runtime::BathKeeper keeper(form, game, runtime, bathFile);
    runtime.setAfterChange([&keeper] { keeper.keep(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest,
                     [&keeper](QSessionManager&) { keeper.sessionEnds(); });
    runtime.onClose = [&keeper] { keeper.closed(); };
    runtime.start();
    keeper.resume();
    // Asked once the window is up; the answer comes long before any catastrophe.
    front::qt::MotionPreference motion;
    QObject::connect(&motion, &front::qt::MotionPreference::told, &runtime,
                     [&runtime](bool reduced) { runtime.setReducedMotion(reduced); });
    return QApplication::exec();
}
