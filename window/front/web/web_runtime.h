// web_runtime.h: the forms runtime in a web page: the page's clock and its
// alarm, a window that cannot move, and run-time errors told in the page.
#pragma once

#include "form.h"
#include "runtime.h"
#include "web_view.h"

#include <optional>
#include <string_view>

namespace front::web {

using forms::Colour;
using forms::CommandButton;
using forms::Form;
using forms::FormEvents;
using forms::RunTimeError;
using forms::Twips;

class WebRuntime : public runtime::Runtime {
public:
    using Milliseconds = runtime::Milliseconds;

    // The view must show `form`; the runtime owns neither.
    WebRuntime(Form& form, FormEvents& events, WebView& view);
    ~WebRuntime() override;
    WebRuntime(const WebRuntime&) = delete;
    WebRuntime& operator=(const WebRuntime&) = delete;

    // Raises Form_Load; the window stands centred on the player's screen,
    // `screenWidth` by `screenHeight` CSS pixels, as a desktop window opens.
    void start(int screenWidth, int screenHeight);

    using runtime::Runtime::setReducedMotion;

    // The player clicks the button named; false if it cannot be clicked.
    bool click(std::string_view name);
    // The player's `key` went down or came up at `at` on the page's clock,
    // on the button focused(); true if it pressed it.
    bool key(runtime::Key key, bool down, double at);
    // The page tells which button has the focus ("" for none) before each
    // act, so that the runtime can settle it once the handler is over.
    void focused(std::string_view name) { m_focused = button(name); }

    // Whole milliseconds since Form_Load.
    Milliseconds clock() const { return now(); }
    // When Timer1 ticks next on that clock, if it runs.
    std::optional<Milliseconds> nextDue() const { return scheduler().nextDue(); }

protected:
    Milliseconds now() const override;
    void wakeAt(std::optional<Milliseconds> when) override;
    // A page cannot move the browser's window: what it shows stands aside
    // instead, and the window is never placed.
    void placeWindow(Twips, Twips) override {}
    runtime::WindowFacts windowFacts() const override { return {false, m_standsAt}; }
    void showContents(drawing::ContentsOffset offset, Colour ground) override;
    // The page tells the player, in one line in the page, and the game
    // stands still from then on.
    void runTimeError(const RunTimeError& error) override;
    // The page's live region says it at once, the greeting included: the
    // page has told of the window and its focus before it reports either.
    void announce(const std::string& words, Said) override { m_view.say(words); }
    const CommandButton* focusedButton() const override { return m_focused; }
    // The page moves the focus where the runtime settled it.
    void moveFocus(const CommandButton* button) override {
        m_focused = button;
        m_view.focusOn(button);
    }

private:
    const CommandButton* button(std::string_view name) const;

    Form& m_form;
    WebView& m_view;
    // The page's clock, in whole milliseconds, when the game started.
    Milliseconds m_origin;
    // Where the window stands: it never moves.
    runtime::Place m_standsAt;
    const CommandButton* m_focused = nullptr;
};

} // namespace front::web
