// main.cpp: yopo-headless, the maintainers' tool for replaying a game from a script.
#include "command_line.h"
#include "printable.h"
#include "script.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes on every platform: a script is read as it is, where
    // text mode would end it at a Ctrl-Z, and the transcript and the
    // messages end their lines with LF, not CR LF.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const runtime::Asked asked = runtime::readCommandLine(runtime::Program::Replay, arguments);
    switch (asked.what) {
    case runtime::Asked::What::Answer:
        std::cout << asked.text;
        return runtime::exitCode(asked.status);
    case runtime::Asked::What::Refuse:
        std::cerr << asked.text << '\n';
        return runtime::exitCode(asked.status);
    case runtime::Asked::What::Play:
        break;
    }
    if (!asked.script) {
        return replay::runScript(std::cin, std::cout, std::cerr);
    }
    std::ifstream script(*asked.script, std::ios::binary);
    if (!script) {
        // A path may hold any byte but NUL, ESC and LF among them.
        std::cerr << "yopo-headless: cannot read " << runtime::printable(*asked.script) << '\n';
        return replay::kScriptBadLine;
    }
    return replay::runScript(script, std::cout, std::cerr);
}
