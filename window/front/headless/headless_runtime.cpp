// headless_runtime.cpp: events and timer ticks on a virtual clock.
#include "headless_runtime.h"

#include <cmath>

namespace front::headless {

HeadlessRuntime::HeadlessRuntime(Form& form, FormEvents& events) : runtime::Runtime(events), m_form(form) {
    m_form.addObserver(this);
}

HeadlessRuntime::~HeadlessRuntime() {
    m_form.removeObserver(this);
}

void HeadlessRuntime::start() {
    raiseLoad();
    m_form.windowStandsAt((toTwips(kScreenWidth) - m_form.clientWidth()) / 2,
                          (toTwips(kScreenHeight) - m_form.clientHeight()) / 2);
}

bool HeadlessRuntime::click(const CommandButton& button) {
    return raiseClick(button);
}

bool HeadlessRuntime::tick() {
    const Timer* timer = nextTimer();
    if (timer == nullptr || error()) {
        return false;
    }
    m_clock = m_due.at(timer);
    deliver(*timer);
    return true;
}

HeadlessRuntime::Waited HeadlessRuntime::wait(Milliseconds milliseconds, std::int64_t mostTicks) {
    if (milliseconds < 0 || milliseconds > kEndOfTime - m_clock) {
        return Waited::Refused;
    }
    const Milliseconds until = m_clock + milliseconds;
    std::int64_t delivered = 0;
    for (const Timer* timer = nextTimer(); timer != nullptr && m_due.at(timer) <= until && !error();
         timer = nextTimer()) {
        if (delivered == mostTicks) {
            return Waited::TooManyTicks;
        }
        m_clock = m_due.at(timer);
        deliver(*timer);
        ++delivered;
    }
    m_clock = until;
    return Waited::Done;
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

void HeadlessRuntime::formChanged(Property property) {
    // This window system carries every move out at once, and says so.
    if (property == Property::Left || property == Property::Top) {
        m_form.windowStandsAt(m_form.left(), m_form.top());
    }
}

void HeadlessRuntime::runTimeError(const RunTimeError&) {
    // The program ends here: nothing ticks any more.
    m_due.clear();
}

void HeadlessRuntime::controlChanged(const Control& control, Property property) {
    if (control.kind() != ControlKind::Timer) {
        return;
    }
    const auto& timer = static_cast<const Timer&>(control);
    if (!timer.ticking()) {
        m_due.erase(&timer);
    } else if (property == Property::Interval || !m_due.contains(&timer)) {
        // A new interval governs the wait from the moment it is written.
        m_due[&timer] = m_clock + timer.interval();
    }
}

const Timer* HeadlessRuntime::nextTimer() const {
    const Timer* next = nullptr;
    for (const auto& [timer, due] : m_due) {
        if (next == nullptr || due < m_due.at(next)) {
            next = timer;
        }
    }
    return next;
}

void HeadlessRuntime::deliver(const Timer& timer) {
    m_due[&timer] = m_clock + timer.interval();
    raiseTick(timer);
}

} // namespace front::headless
