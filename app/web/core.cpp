// core.cpp: ヨポ's core in WebAssembly, and the few calls its page makes.
// The page (yopo.js) paints what view() and frame() say, lays its buttons
// over the canvas, and wakes the game when wake() asks it to.
#include "bath_keeper.h"
#include "focus.h"
#include "form1.h"
#include "game.h"
#include "page.h"
#include "state_json.h"
#include "web_bath_store.h"
#include "web_runtime.h"
#include "web_text_metrics.h"
#include "web_view.h"

#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>

namespace {

// The longest the page gives the core at once while it catches up on ticks
// long due, in milliseconds: well inside a frame budget's worst, so that
// the page answers the player between batches.
constexpr double kLongestWake = 40;

struct Core {
    Core(double ascent, double descent)
        : metrics(std::make_shared<front::web::WebTextMetrics>(ascent, descent)) {
        form.setTextMetrics(metrics);
    }

    std::shared_ptr<front::web::WebTextMetrics> metrics;
    forms::Form1 form;
    game::Game game{form};
    front::web::WebView view{form, *metrics};
    front::web::WebRuntime runtime{form, game, view};
    front::web::WebBathStore store;
    runtime::BathKeeper keeper{form, game, runtime, store};
};

std::optional<Core> core;

// What a call hands back as text stays until the next call that does.
const char* reply(std::string text) {
    static std::string kept;
    kept = std::move(text);
    return kept.c_str();
}

} // namespace

extern "C" {

// Starts the game: Form_Load, the window centred on a screen of the size
// given. `ascent` and `descent` are the face's, as fractions of its em.
// Returns whether Form_Load ran to its end.
EMSCRIPTEN_KEEPALIVE int yopo_start(double ascent, double descent, int screenWidth,
                                    int screenHeight) {
    core.emplace(ascent, descent);
    core->runtime.start(screenWidth, screenHeight);
    if (core->runtime.error()) {
        return 0;
    }
    // The bath kept by this page before a reload, a discard or a crash.
    core->keeper.resume();
    core->runtime.setAfterChange([] { core->keeper.keep(); });
    return 1;
}

// The page is hidden or going away: the bath is kept as it stands.
EMSCRIPTEN_KEEPALIVE void yopo_keep() {
    core->keeper.keep();
}

// The player starts a new bath: nothing is kept of this one.
EMSCRIPTEN_KEEPALIVE void yopo_close() {
    core->keeper.closed();
}

// Whether a bath is under way that starting again would throw away.
EMSCRIPTEN_KEEPALIVE int yopo_bath_under_way() {
    return core->game.state().Phase != game::phase::kNoWater &&
                   !runtime::bathIsOver(core->form, core->game, core->runtime)
               ? 1
               : 0;
}

// The player clicks the button named.
EMSCRIPTEN_KEEPALIVE int yopo_click(const char* name) {
    return core->runtime.click(name) ? 1 : 0;
}

// Space (0) or Enter (1) went down (`down` 1) or came up (0) at the
// event's timeStamp, on the button the page said has the focus. Returns
// whether it pressed the button.
EMSCRIPTEN_KEEPALIVE int yopo_key(int key, int down, double at) {
    const runtime::Key which = key == 0   ? runtime::Key::Space
                               : key == 1 ? runtime::Key::Enter
                                          : runtime::Key::Other;
    return core->runtime.key(which, down != 0, at) ? 1 : 0;
}

// The page's alarm went off: the ticks due are delivered, batch after batch
// for as long as kLongestWake allows (a day away is 1.7 million ticks).
// Returns how many.
EMSCRIPTEN_KEEPALIVE int yopo_wake() {
    const double began = front::web::page::now();
    int delivered = 0;
    for (;;) {
        const int batch = core->runtime.wake();
        delivered += batch;
        const auto due = core->runtime.nextDue();
        if (batch == 0 || !due || *due > core->runtime.clock() ||
            front::web::page::now() - began > kLongestWake) {
            return delivered;
        }
    }
}

// What happened to the page's window: 0 its first frame is shown, or it is
// seen again, 1 it has the keyboard (the first time, the greeting is told),
// 2 it lost it, 3 it is hidden behind another tab.
EMSCRIPTEN_KEEPALIVE void yopo_window(int event) {
    switch (event) {
    case 0:
        core->runtime.windowShown();
        break;
    case 1:
        core->runtime.windowActivated();
        break;
    case 2:
        core->runtime.keyboardLost();
        break;
    default:
        core->runtime.windowHidden();
        break;
    }
}

// Whether the player asks for reduced motion (prefers-reduced-motion).
EMSCRIPTEN_KEEPALIVE void yopo_reduce_motion(int reduced) {
    core->runtime.setReducedMotion(reduced != 0);
}

// When Timer1 ticks next, in milliseconds since Form_Load; -1 if it does not run.
EMSCRIPTEN_KEEPALIVE double yopo_next_due() {
    const auto due = core->runtime.nextDue();
    return due ? static_cast<double>(*due) : -1;
}

// The state line, as yopo-headless prints it.
EMSCRIPTEN_KEEPALIVE const char* yopo_state() {
    return reply(replay::stateJson(core->runtime.clock(), core->game.state(), core->form));
}

// The page's elements and the words to say (see WebView::describe).
EMSCRIPTEN_KEEPALIVE const char* yopo_view(double ratio) {
    return reply(core->view.describe(ratio, core->runtime.error()));
}

// The frame at `ratio`, as the numbers PaintList describes.
EMSCRIPTEN_KEEPALIVE const double* yopo_frame(double ratio) {
    return core->view.frame(ratio).numbers().data();
}

// Where the focus goes as the window opens: a button's name, or "" for the
// window itself.
EMSCRIPTEN_KEEPALIVE const char* yopo_first_focus() {
    const forms::CommandButton* focus = runtime::firstFocus(core->form);
    return reply(focus != nullptr ? focus->name() : std::string());
}

// The page's focus is on the button named ("" for none), before an act.
EMSCRIPTEN_KEEPALIVE void yopo_focused(const char* name) {
    core->runtime.focused(name);
}

} // extern "C"
