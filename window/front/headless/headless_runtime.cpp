// headless_runtime.cpp: events and timer ticks on a virtual clock.
#include "headless_runtime.h"

#include "opening_place.h"

#include <algorithm>
#include <cmath>

namespace front::headless {

using forms::toPixels;
using forms::toTwips;

HeadlessRuntime::HeadlessRuntime(Form& form, FormEvents& events)
    : runtime::Runtime(form, events), m_form(form) {}

HeadlessRuntime::~HeadlessRuntime() = default;

void HeadlessRuntime::start() {
    raiseLoad();
    const runtime::ScreenPlace place =
        runtime::openingPlace({0, 0, kScreenWidth, kScreenHeight}, toPixels(m_form.clientWidth()),
                              toPixels(m_form.clientHeight()));
    m_form.windowStandsAt(toTwips(place.x), toTwips(place.y));
}

bool HeadlessRuntime::click(const CommandButton& button) {
    return raiseClick(button);
}

bool HeadlessRuntime::tick() {
    return tickBy(kEndOfTime);
}

HeadlessRuntime::Waited HeadlessRuntime::wait(Milliseconds milliseconds, std::int64_t mostTicks) {
    if (milliseconds < 0 || milliseconds > kEndOfTime - m_clock) {
        return Waited::Refused;
    }
    const Milliseconds until = m_clock + milliseconds;
    for (std::int64_t delivered = 0; m_alarm && *m_alarm <= until; ++delivered) {
        if (delivered == mostTicks) {
            return Waited::TooManyTicks;
        }
        tickBy(until);
    }
    m_clock = until;
    return Waited::Done;
}

bool HeadlessRuntime::tickBy(Milliseconds until) {
    if (!m_alarm || *m_alarm > until) {
        return false;
    }
    // The clock stands at each tick's own time while it is handled, as a
    // real clock would.
    m_clock = std::max(m_clock, *m_alarm);
    return runtime::Runtime::wake(1) > 0;
}

bool HeadlessRuntime::drag(Twips dx, Twips dy) {
    const Twips left = m_form.left() + dx;
    const Twips top = m_form.top() + dy;
    // Written so that a NaN fails too.
    if (!(std::abs(left) <= kFarthestPlace && std::abs(top) <= kFarthestPlace)) {
        return false;
    }
    m_form.windowStandsAt(left, top);
    return true;
}

void HeadlessRuntime::placeWindow(Twips left, Twips top) {
    // This window system carries every move out at once, and says so.
    m_form.windowStandsAt(left, top);
}

} // namespace front::headless
