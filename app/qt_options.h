// qt_options.h: the game's command line on Qt, read before any display is
// opened: the questions and refusals every program shares (see runtime's
// command_line.h), and Qt's own options, which are passed on to Qt.
#pragma once

#include <optional>

namespace app {

// Answers --help or --version on stdout, or refuses an argument that is
// neither the game's nor Qt's in one line on stderr. Returns the exit status
// if the program ends here.
std::optional<int> readArguments(int argc, char** argv);

// Whether the command line names Qt's platform (-platform offscreen), which
// then needs no display named in the environment.
bool namesPlatform(int argc, char** argv);

// Run after Qt has taken its own options out of argv: what is left (an
// option of another platform's, such as -display under Wayland) is refused
// as readArguments refuses. Returns the exit status if something was.
std::optional<int> refuseLeftovers(int argc, char** argv);

} // namespace app
