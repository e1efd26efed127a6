// command_line.h: what every program of the game takes on its command line
// and the statuses it ends with, in one table for yopo, yopo.exe and
// yopo-headless alike. Each reads its arguments here before it opens
// anything, and shows the answer as its platform shows words.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace runtime {

// How a program ends, on every platform.
enum class ExitStatus {
    // The window was closed, the script played to its end, or a question
    // (--help, --version) answered.
    Played = 0,
    // A run-time error stopped the game.
    RunTimeError = 1,
    // An argument the program does not take; for the script runner also a
    // script it cannot read, or a line of it that is not a command.
    Usage = 2,
    // The window could not open: no display, or the program is damaged.
    NoDisplay = 3,
    // The display went away under a running game.
    DisplayLost = 4,
};

constexpr int exitCode(ExitStatus status) {
    return static_cast<int>(status);
}

// The game with its window (yopo, yopo.exe), or the script runner
// (yopo-headless, yopo-headless.exe).
enum class Program { Game, Replay };

// An option of the toolkit's own, passed on to it untouched (Qt's -platform
// xcb): its name without dashes, one or two of which may come before it, and
// whether the next argument is its value. A name ending in = takes its value
// in the same argument.
struct ToolkitOption {
    std::string_view name;
    bool takesValue = false;
};

// The toolkit the game passes options on to, as its help tells of it.
struct Toolkit {
    std::span<const ToolkitOption> options;
    // One sentence for the help.
    std::string_view note;
};

// What a command line asks of a program.
struct Asked {
    enum class What {
        Play,   // go on: open the window, or play the script
        Answer, // show `text` (the help or the version) and end with `status`
        Refuse, // show `text`, one line saying why, and end with `status`
    };
    What what = What::Play;
    std::string text;
    ExitStatus status = ExitStatus::Played;
    // The script runner's script, if one is named; else standard input.
    std::optional<std::string> script;
};

// Reads the arguments after the program's name, as UTF-8: a question is
// answered wherever it stands; the toolkit's options are neither answered
// nor refused. Anything quoted back is escaped (see printable).
Asked readCommandLine(Program program, std::span<const std::string> arguments,
                      const Toolkit& toolkit = {});

// The one line that refuses an argument left over once the toolkit has
// taken its own.
std::string refusal(Program program, std::string_view argument);

// The program's name in its messages.
std::string_view programName(Program program);

} // namespace runtime
