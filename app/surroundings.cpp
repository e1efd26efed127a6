// surroundings.cpp: checking the display and the fonts before the game starts,
// and ending it in one line when the display goes.
#include "surroundings.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace app {

namespace {

constexpr const char* kFontPackage = "fonts-ipafont-gothic";

QtMessageHandler g_previous = nullptr;
std::atomic_flag g_ending; // clear until the display is lost
std::vector<std::pair<QtMsgType, std::string>> g_kept;

std::string displayName() {
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    return (display.isEmpty() ? "WAYLAND_DISPLAY=" + wayland : "DISPLAY=" + display).toStdString();
}

// QStandardPaths on the runtime folder, which the game never uses.
bool aboutTheRuntimeFolder(const QString& message) {
    return message.startsWith(QLatin1String("QStandardPaths: "));
}

void keepBack(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (aboutTheRuntimeFolder(message)) {
        return;
    }
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "yopo: cannot open the window: no display could be reached (%s); "
                     "without a screen, run it under xvfb-run -a\n",
                     displayName().c_str());
        std::fflush(stderr);
        std::_Exit(kCannotStart);
    }
    g_kept.emplace_back(type, message.toStdString());
}

// What Qt says as the connection to the display breaks: the xcb event
// reader and Xlib's IO error handler ("The X11 connection broke ..."), and
// the Wayland client ("The Wayland connection broke ..." or "... experienced
// a fatal error ...").
bool tellsOfLostDisplay(const QString& message) {
    return message.startsWith(QLatin1String("The X11 connection broke")) ||
           message.startsWith(QLatin1String("The Wayland connection "));
}

void endOnLostDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (aboutTheRuntimeFolder(message)) {
        return;
    }
    if (!tellsOfLostDisplay(message)) {
        g_previous(type, context, message);
        return;
    }
    // Qt's reading thread and the user-interface thread may both find the
    // connection broken at once. The first says so and ends the game; the
    // other must neither say it again nor return to Qt, whose own exit
    // would race ours with another status.
    if (g_ending.test_and_set()) {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    }
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const char* name = wayland ? "WAYLAND_DISPLAY" : "DISPLAY";
    std::fprintf(stderr, "yopo: the display went away (%s=%s); the game has ended\n", name,
                 qgetenv(name).constData());
    std::fflush(stderr);
    // Nothing is kept between runs, so there is nothing to save; the
    // connection is gone, so the window cannot be taken down properly.
    std::_Exit(kDisplayLost);
}

} // namespace

StartUpGuard::StartUpGuard() {
    g_previous = qInstallMessageHandler(keepBack);
}

StartUpGuard::~StartUpGuard() {
    qInstallMessageHandler(g_previous);
    for (const auto& [type, message] : g_kept) {
        g_previous(type, QMessageLogContext(), QString::fromStdString(message));
    }
    g_kept.clear();
}

void watchForDisplayLoss() {
    g_previous = qInstallMessageHandler(endOnLostDisplay);
}

bool displayNamed() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return true;
    }
    std::fprintf(stderr, "yopo: cannot open the window: there is no display (DISPLAY is not set); "
                         "without a screen, run it under xvfb-run -a\n");
    return false;
}

void warnIfNoJapaneseFont(const QStringList& faces) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& face : faces) {
        if (installed.contains(face)) {
            return;
        }
    }
    std::fprintf(stderr,
                 "yopo: no font with Japanese glyphs found (%s); install one with: "
                 "sudo apt-get install %s\n",
                 qPrintable(faces.join(QStringLiteral(", "))), kFontPackage);
}

} // namespace app
