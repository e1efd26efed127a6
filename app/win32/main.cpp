// main.cpp: ヨポ on Windows. Creates the window, lets the game greet the player, and runs.
#include "bath_file.h"
#include "command_line.h"
#include "form1.h"
#include "game.h"
#include "start_up.h"
#include "utf16.h"
#include "win32_runtime.h"

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The window cannot open: the program file is damaged or the system refused.
constexpr int kCannotStart = runtime::exitCode(runtime::ExitStatus::NoDisplay);

// Words for the player: a Windows program has no terminal, so in a message
// box, and on the stream given too for whoever started it from one.
void tell(const std::string& text, std::FILE* stream, UINT icon) {
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
    MessageBoxW(nullptr, front::win32::toWide(text).c_str(), L"yopo", MB_OK | icon);
}

void cannotStart(const std::string& why) {
    tell("yopo: " + why + "\n", stderr, MB_ICONERROR);
}

// The arguments after the program's name, as UTF-8.
std::vector<std::string> arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        utf8.push_back(front::win32::toUtf8(wide[i]));
    }
    LocalFree(static_cast<HLOCAL>(wide));
    return utf8;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const runtime::Asked asked = runtime::readCommandLine(runtime::Program::Game, arguments());
    switch (asked.what) {
    case runtime::Asked::What::Answer:
        tell(asked.text, stdout, MB_ICONINFORMATION);
        return runtime::exitCode(asked.status);
    case runtime::Asked::What::Refuse:
        tell(asked.text + "\n", stderr, MB_ICONERROR);
        return runtime::exitCode(asked.status);
    case runtime::Asked::What::Play:
        break;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        cannotStart("cannot start COM, which decodes the pictures");
        return kCannotStart;
    }
    int status = kCannotStart;
    {
        forms::Form1 form;
        game::Game game(form);
        front::win32::Win32Runtime runtime(form, game);
        if (const std::optional<std::string> damaged = runtime.damagedPictures()) {
            cannotStart(*damaged);
        } else {
            if (const std::optional<double> scale = ::runtime::maintainersTimeScale()) {
                runtime.setTimeScale(*scale);
            }
            // The bath outlives a killed program or an ended session, not
            // the player's own close.
            front::win32::BathFile bathFile;
            ::runtime::BathKeeper keeper(form, game, runtime, bathFile);
            runtime.setAfterChange([&keeper] { keeper.keep(); });
            runtime.onSessionEnd = [&keeper] { keeper.sessionEnds(); };
            runtime.onClose = [&keeper] { keeper.closed(); };
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
