// runtime.cpp: raising events, and catching what the game does not.
#include "runtime.h"

#include "focus.h"

#include <cstdio>
#include <utility>

namespace runtime {

Runtime::Runtime(forms::Form& form, forms::FormEvents& events)
    : m_form(form), m_events(events),
      m_scheduler(form, *this, [this](const forms::Timer& timer) { return raiseTick(timer); }) {
    m_form.addObserver(&m_moveWatcher);
}

Runtime::~Runtime() {
    m_form.removeObserver(&m_moveWatcher);
}

template <typename Handler>
bool Runtime::raise(Handler&& handler) {
    if (m_error) {
        return false;
    }
    const forms::CommandButton* before = focusedButton();
    try {
        handler();
    } catch (const forms::RunTimeError& error) {
        m_error = error;
        m_scheduler.halt();
        runTimeError(error);
        return true;
    }
    // Only once the handler is over: closing the tap disables the tap's
    // button before it enables the fire's, and a toolkit that moves the
    // focus off a disabled button at once may have moved it anywhere, or
    // nowhere, where the window itself should have it.
    if (before != nullptr) {
        const forms::CommandButton* settled = settledFocus(m_form, *before);
        if (settled == nullptr || settled != focusedButton()) {
            moveFocus(settled);
        }
    }
    return true;
}

void printRunTimeError(const forms::RunTimeError& error) {
    std::fprintf(stderr, "yopo: %s\n", error.what());
    std::fflush(stderr);
}

bool Runtime::raiseLoad() {
    return raise([&] { m_events.load(); });
}

bool Runtime::raiseClick(const forms::CommandButton& button) {
    if (!button.canBeClicked()) {
        return false;
    }
    if (!raise([&] { m_events.click(button); })) {
        return false;
    }
    if (m_afterChange) {
        m_afterChange();
    }
    return true;
}

bool Runtime::raiseTick(const forms::Timer& timer) {
    raise([&] { m_events.tick(timer); });
    return !m_error;
}

bool Runtime::keyDown(Key key, std::optional<Milliseconds> at,
                      const forms::CommandButton* focused) {
    const forms::CommandButton* pressed = m_keys.down(key, at, focused);
    return pressed != nullptr && raiseClick(*pressed);
}

int Runtime::wake(int most) {
    const int delivered = m_scheduler.wake(most);
    if (std::exchange(m_showPending, false) && !m_error) {
        showWindow();
    }
    if (delivered > 0 && m_afterChange) {
        m_afterChange();
    }
    return delivered;
}

std::optional<Milliseconds> Runtime::untilNextTick() const {
    const std::optional<Milliseconds> due = m_scheduler.nextDue();
    return due ? std::optional(*due - now()) : std::nullopt;
}

void Runtime::resumeTimer(const forms::Timer& timer, Milliseconds in) {
    m_scheduler.resume(timer, now() + in);
}

void Runtime::setReducedMotion(bool reduced) {
    m_show.setReducedMotion(reduced);
    showWindow();
}

void Runtime::windowShown() {
    if (const std::optional<std::string> words = m_announcements.windowShown()) {
        announce(*words, Said::News);
    }
}

void Runtime::windowActivated() {
    if (const std::optional<std::string> words = m_announcements.windowActivated()) {
        announce(*words, Said::Greeting);
    }
}

void Runtime::captionChanged(const forms::Label& label) {
    const std::string before = m_announcements.latest();
    const std::optional<std::string> news = m_announcements.captionChanged(label);
    if (m_announcements.latest() != before) {
        messageChanged(before);
    }
    if (news) {
        announce(*news, Said::News);
    }
}

void Runtime::windowChanged(bool moved) {
    if (moved) {
        m_show.gameMoved();
    }
    // A shake an hour behind moves the window 72,000 times in a blink: the
    // window system hears only where the last of a batch left it.
    if (m_scheduler.delivering()) {
        m_showPending = true;
    } else {
        showWindow();
    }
}

void Runtime::showWindow() {
    const WindowShow::Shown shown =
        m_show.decide({m_form.left(), m_form.top()}, m_form.backColor(), windowFacts(), now());
    if (shown.moveWindowTo) {
        placeWindow(shown.moveWindowTo->left, shown.moveWindowTo->top);
    }
    showContents(shown.offset, shown.ground);
}

} // namespace runtime
