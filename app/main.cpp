// main.cpp: ヨポ. Creates the window, lets the game greet the player, and runs.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "qt_runtime.h"
#include "surroundings.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    if (!yopo::displayNamed()) {
        return yopo::kCannotStart;
    }
    std::optional<yopo::StartUpGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    yopo::warnIfNoJapaneseFont(forms::FormView::japaneseFaces());
    // The window paints its own white ground and black text, so it wants
    // the plain light look whatever the desktop's theme.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(forms::FormView::formFont(forms::kDefaultFontSize));

    forms::Form1 form;
    yopo::Game game(form);
    forms::FormView view(form);
    if (const QStringList broken = view.unreadablePictures(); !broken.isEmpty()) {
        std::fprintf(stderr,
                     "yopo: cannot read the picture %s; the program is damaged, reinstall it\n",
                     qPrintable(broken.join(QStringLiteral(", "))));
        return yopo::kCannotStart;
    }
    forms::QtRuntime runtime(form, game, view);
    // A maintainers' switch, off unless set: YOPO_TIME_SCALE=100 runs the clock 100 times faster.
    if (const double scale = qEnvironmentVariable("YOPO_TIME_SCALE").toDouble(); scale > 0) {
        runtime.setTimeScale(scale);
    }
    runtime.start();
    return QApplication::exec();
}
