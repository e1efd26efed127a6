// command_line.cpp: the programs' arguments and exit statuses, and their help.
#include "command_line.h"

#include "printable.h"

#include <algorithm>
#include <array>

namespace runtime {

namespace {

struct ProgramRow {
    std::string_view name;
    std::string_view about;
    // Which statuses it can end with, and what each means for it.
    std::array<const char*, 5> statuses;
};

// By Program, and within each by ExitStatus.
constexpr ProgramRow kPrograms[] = {
    {"yopo",
     "ヨポ: draw a bath. The game takes no options: it opens its window and plays.",
     {"the window was closed, or --help or --version answered", "a run-time error stopped the game",
      "an argument the game does not take",
      "the window could not open: no display could be reached, or the program's\n"
      "     pictures are damaged",
      "the display went away under a running game"}},
    {"yopo-headless",
     "Plays one game of ヨポ on a virtual clock from SCRIPT, or from standard input,\n"
     "one command a line (click NAME, tick [N], wait MS, drag DX DY, state).",
     {"the script was played to its end, or --help or --version answered",
      "a run-time error stopped the game",
      "an argument it does not take, a script it cannot read, or a line that is\n"
      "     not a command",
      nullptr, nullptr}},
};

// The questions every program answers, wherever they stand.
enum class Question { Help, Version };
struct QuestionRow {
    std::string_view argument;
    // The same question as Windows programs are asked it.
    std::string_view windowsAlias;
    Question question;
    const char* help;
};
constexpr QuestionRow kQuestions[] = {
    {"--help", "/?", Question::Help, "show this help and exit"},
    {"--version", "", Question::Version, "show the version and exit"},
};
#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// How a question may be written here, as in the help: "--help" or "--help, /?".
std::string spelt(const QuestionRow& question, std::string_view between) {
    std::string text(question.argument);
    if (kWindows && !question.windowsAlias.empty()) {
        text.append(between).append(question.windowsAlias);
    }
    return text;
}

bool asks(std::string_view argument, const QuestionRow& question) {
    return argument == question.argument ||
           (kWindows && !question.windowsAlias.empty() && argument == question.windowsAlias);
}

const ProgramRow& rowOf(Program program) {
    return kPrograms[static_cast<int>(program)];
}

std::string help(Program program, const Toolkit& toolkit) {
    const ProgramRow& row = rowOf(program);
    std::string asked;
    for (const QuestionRow& question : kQuestions) {
        asked.append(asked.empty() ? "" : " | ").append(spelt(question, " | "));
    }
    asked.append(program == Program::Replay ? " | SCRIPT" : "");
    std::string text = "Usage: ";
    text.append(row.name).append(" [").append(asked).append("]\n");
    text.append(row.about).append("\n\n");
    std::size_t column = 0;
    for (const QuestionRow& question : kQuestions) {
        column = std::max(column, spelt(question, ", ").size() + 2);
    }
    for (const QuestionRow& question : kQuestions) {
        std::string argument = spelt(question, ", ");
        argument.resize(column, ' ');
        text.append("  ").append(argument).append(question.help).append("\n");
    }
    if (!toolkit.note.empty()) {
        text.append("\n").append(toolkit.note).append("\n");
    }
    text.append("\nExit status:\n");
    for (std::size_t status = 0; status < row.statuses.size(); ++status) {
        if (row.statuses[status] != nullptr) {
            text.append("  ").append(std::to_string(status)).append("  ");
            text.append(row.statuses[status]).append("\n");
        }
    }
    return text;
}

// The option of the toolkit's that `argument` is, if any.
const ToolkitOption* toolkitOption(std::string_view argument, const Toolkit& toolkit) {
    if (!argument.starts_with('-')) {
        return nullptr;
    }
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    for (const ToolkitOption& option : toolkit.options) {
        if (option.name.ends_with('=') ? argument.starts_with(option.name)
                                       : argument == option.name) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

std::string_view programName(Program program) {
    return rowOf(program).name;
}

std::string refusal(Program program, std::string_view argument) {
    const std::string_view name = programName(program);
    std::string text(name);
    text.append(": unknown argument '").append(printable(argument)).append("': ");
    text.append(program == Program::Game ? "the game takes no options"
                                         : "it takes one script at most");
    text.append(" (see ").append(name).append(" --help)");
    return text;
}

Asked readCommandLine(Program program, std::span<const std::string> arguments,
                      const Toolkit& toolkit) {
    for (const std::string& argument : arguments) {
        for (const QuestionRow& question : kQuestions) {
            if (asks(argument, question)) {
                std::string text(programName(program));
                text.append(" " YOPO_VERSION "\n");
                if (question.question == Question::Help) {
                    text = help(program, toolkit);
                }
                return {Asked::What::Answer, text, ExitStatus::Played, std::nullopt};
            }
        }
    }
    Asked asked;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (const ToolkitOption* option = toolkitOption(argument, toolkit)) {
            i += option->takesValue ? 1 : 0;
        } else if (program == Program::Replay && !asked.script && !argument.starts_with('-')) {
            asked.script = argument;
        } else {
            return {Asked::What::Refuse, refusal(program, argument), ExitStatus::Usage,
                    std::nullopt};
        }
    }
    return asked;
}

} // namespace runtime
