// qt_options.cpp: the game's arguments, with Qt's own options passed on.
#include "qt_options.h"

#include "command_line.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace app {

namespace {

// The options QGuiApplication and QApplication take out of argv on every
// platform, and those Qt's X11 platform takes too.
constexpr runtime::ToolkitOption kQtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"style", true},
    {"style=", false},
    {"stylesheet", true},
    {"stylesheet=", false},
    {"qmljsdebugger=", false},
    {"reverse", false},
    {"testability", false},
    {"widgetcount", false},
    {"display", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"name", true},
    {"visual", true},
};
constexpr runtime::Toolkit kQt{kQtOptions,
                               "Qt's own options, such as -platform xcb, are passed on to Qt."};

std::vector<std::string> argumentsOf(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

} // namespace

std::optional<int> readArguments(int argc, char** argv) {
    const std::vector<std::string> arguments = argumentsOf(argc, argv);
    const runtime::Asked asked = runtime::readCommandLine(runtime::Program::Game, arguments, kQt);
    switch (asked.what) {
    case runtime::Asked::What::Play:
        return std::nullopt;
    case runtime::Asked::What::Answer:
        std::fputs(asked.text.c_str(), stdout);
        break;
    case runtime::Asked::What::Refuse:
        std::fprintf(stderr, "%s\n", asked.text.c_str());
        break;
    }
    return runtime::exitCode(asked.status);
}

bool namesPlatform(int argc, char** argv) {
    for (const std::string& argument : argumentsOf(argc, argv)) {
        if (argument == "-platform" || argument == "--platform") {
            return true;
        }
    }
    return false;
}

std::optional<int> refuseLeftovers(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    std::fprintf(stderr, "%s\n", runtime::refusal(runtime::Program::Game, argv[1]).c_str());
    return runtime::exitCode(runtime::ExitStatus::Usage);
}

} // namespace app
