// main.cpp: ヨポ on Windows. Creates the window, lets the game greet the player, and runs.
#include "bath_file.h"
#include "form1.h"
#include "game.h"
#include "win32_runtime.h"

#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The window cannot open: the program file is damaged or the system refused.
constexpr int kCannotStart = 3;

void cannotStart(const std::string& why) {
    std::fprintf(stderr, "yopo: %s\n", why.c_str());
    std::fflush(stderr);
    MessageBoxA(nullptr, why.c_str(), "yopo", MB_OK | MB_ICONERROR);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        cannotStart("cannot start COM, which decodes the pictures");
        return kCannotStart;
    }
    int status = kCannotStart;
    {
        forms::Form1 form;
        yopo::Game game(form);
        front::win32::Win32Runtime runtime(form, game);
        std::string broken;
        for (const std::string& name : runtime.unreadablePictures()) {
            broken += (broken.empty() ? "" : ", ") + name;
        }
        if (!broken.empty()) {
            cannotStart("cannot read the picture " + broken +
                        "; the program is damaged, reinstall it");
        } else {
            // A maintainers' switch, off unless set: YOPO_TIME_SCALE=100 runs the clock 100 times
            // faster.
            if (const char* scale = std::getenv("YOPO_TIME_SCALE");
                scale != nullptr && std::atof(scale) > 0) {
                runtime.setTimeScale(std::atof(scale));
            }
            // The bath outlives a killed program or an ended session, not
            // the player's own close.
            front::win32::BathFile bathFile;
            runtime::BathKeeper keeper(form, game, runtime, bathFile);
            bool sessionEnding = false;
            runtime.setAfterChange([&keeper] { keeper.keep(); });
            runtime.onSessionEnd = [&] {
                sessionEnding = true;
                keeper.keep();
            };
            runtime.onClose = [&] {
                if (!sessionEnding) {
                    keeper.closed();
                }
            };
            if (!runtime.start()) {
                cannotStart("cannot create the window");
            } else {
                keeper.resume();
                status = runtime.run();
            }
        }
    }
    CoUninitialize();
    return status;
}
