// main.cpp: yopo-headless, the maintainers' tool for replaying a game from a script.
#include "printable.h"
#include "script.h"

#include <fstream>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The transcript is the same bytes on every platform: LF, not CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc > 2) {
        std::cerr << "usage: yopo-headless [SCRIPT]\n";
        return yopo::kScriptBadLine;
    }
    if (argc == 2) {
        std::ifstream script(argv[1]);
        if (!script) {
#ifdef _WIN32
            // A name in the system's code page, which has no control characters.
            std::cerr << "yopo-headless: cannot read " << argv[1] << '\n';
#else
            // A path here may hold any byte but NUL, ESC and LF among them.
            std::cerr << "yopo-headless: cannot read " << yopo::printable(argv[1]) << '\n';
#endif
            return yopo::kScriptBadLine;
        }
        return yopo::runScript(script, std::cout, std::cerr);
    }
    return yopo::runScript(std::cin, std::cout, std::cerr);
}
