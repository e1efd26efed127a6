// surroundings.h: what the game needs around it before its window can open,
// and one clear line, not a core dump, when something is missing.
#pragma once

#include <QStringList>

namespace yopo {

// The exit status when the window cannot open at all.
constexpr int kCannotStart = 3;

// Held while the application starts: Qt's own complaints are kept back, and
// a fatal one (no display to reach) becomes one line and kCannotStart
// instead of an abort. Released, it hands on what it kept.
class StartUpGuard {
public:
    StartUpGuard();
    ~StartUpGuard();
    StartUpGuard(const StartUpGuard&) = delete;
    StartUpGuard& operator=(const StartUpGuard&) = delete;
};

// False, after saying so, when no display is named at all.
bool displayNamed();

// Says which package to install when no face with Japanese glyphs is there;
// the game goes on, with whatever glyphs the system has.
void warnIfNoJapaneseFont(const QStringList& faces);

} // namespace yopo
