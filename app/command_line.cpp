// command_line.cpp: --help, --version and the refusal of anything else.
#include "command_line.h"

#include "identity.h"

#include <cstdio>
#include <cstring>

namespace yopo {

namespace {

constexpr const char* kHelp =
    "Usage: yopo [--help | --version]\n"
    "ヨポ: draw a bath. The game takes no options: it opens its window and plays.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Any other argument is refused, with exit status 2. Qt's own options, such as\n"
    "-platform xcb, are passed on to Qt.\n";

} // namespace

std::optional<int> answerQuestions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("yopo %s\n", kVersion);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> refuseLeftovers(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    std::fprintf(stderr,
                 "yopo: unknown argument '%s': the game takes no options (see yopo --help)\n",
                 argv[1]);
    return kRefusedArguments;
}

} // namespace yopo
