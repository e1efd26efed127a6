// surroundings.h: what the game needs around it before its window can open,
// and one clear line, not a core dump, when something is missing.
#pragma once

#include "command_line.h"

#include <QStringList>

namespace app {

// The exit status when the window cannot open at all.
constexpr int kCannotStart = runtime::exitCode(runtime::ExitStatus::NoDisplay);
// The exit status when the display goes away under a running game.
constexpr int kDisplayLost = runtime::exitCode(runtime::ExitStatus::DisplayLost);

// Held while the application starts: Qt's own complaints are kept back, and
// a fatal one (no display to reach) becomes one line and kCannotStart
// instead of an abort. Released, it hands on what it kept. Qt's remarks on
// the runtime folder (XDG_RUNTIME_DIR unset, as for root under xvfb-run) are
// dropped here and for the rest of the run: they ask nothing of the player,
// and the game's messages are one line each.
class StartUpGuard {
public:
    StartUpGuard();
    ~StartUpGuard();
    StartUpGuard(const StartUpGuard&) = delete;
    StartUpGuard& operator=(const StartUpGuard&) = delete;
};

// Installed once the application has started, for the rest of the run: when
// the X server or the Wayland compositor goes away, Qt's own last words (a
// warning and exit, Xlib's three lines, or an abort) give way to one line and
// kDisplayLost. Every other message goes on as before.
void watchForDisplayLoss();

// False, after saying so, when no display is named at all.
bool displayNamed();

// Says which package to install when no face with Japanese glyphs is there;
// the game goes on, with whatever glyphs the system has.
void warnIfNoJapaneseFont(const QStringList& faces);

} // namespace app
