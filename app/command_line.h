// command_line.h: the game takes no options, but answers --help and --version
// as every desktop program does.
#pragma once

#include <optional>

namespace yopo {

// The exit status when the command line holds something the game does not take.
constexpr int kRefusedArguments = 2;

// Answers --help or --version, whichever comes first, on stdout, before any
// window or display is needed. Returns the exit status if one was answered.
std::optional<int> answerQuestions(int argc, char** argv);

// Run after Qt has taken its own options (such as -platform) out of argv:
// anything left is refused with one line on stderr. Returns the exit status
// if something was refused.
std::optional<int> refuseLeftovers(int argc, char** argv);

} // namespace yopo
