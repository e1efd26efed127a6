// scheduler.cpp: each tick at its own due time, caught up in batches.
#include "scheduler.h"

#include <algorithm>

namespace runtime {

Scheduler::Scheduler(forms::Form& form, Alarm& alarm,
                     std::function<bool(const forms::Timer&)> raiseTick)
    : m_form(form), m_alarm(alarm), m_raiseTick(std::move(raiseTick)) {
    m_form.addObserver(this);
}

Scheduler::~Scheduler() {
    m_form.removeObserver(this);
}

int Scheduler::wake(int most) {
    const Milliseconds now = m_alarm.now();
    int delivered = 0;
    m_delivering = true;
    for (const Due* due = earliest(); due != nullptr && due->at <= now && delivered < most;
         due = earliest()) {
        const forms::Timer& timer = *due->timer;
        m_ticking = &timer;
        m_tickDue = due->at;
        const bool running = m_raiseTick(timer);
        m_ticking = nullptr;
        ++delivered;
        if (!running) {
            halt();
            break;
        }
        // Whatever the tick wrote counts from its own due time, so steady
        // ticks do not drift and a caught-up tick's new Interval is honest.
        settle(timer, true, m_tickDue);
    }
    m_delivering = false;
    setAlarm();
    return delivered;
}

std::optional<Milliseconds> Scheduler::nextDue() const {
    const Due* first = earliest();
    return first ? std::optional(first->at) : std::nullopt;
}

void Scheduler::resume(const forms::Timer& timer, Milliseconds at) {
    if (Due* due = dueOf(timer)) {
        due->at = at;
        setAlarm();
    }
}

void Scheduler::halt() {
    m_halted = true;
    m_due.clear();
    m_alarm.wakeAt(std::nullopt);
}

void Scheduler::controlChanged(const forms::Control& control, forms::Property property) {
    if (control.kind() != forms::ControlKind::Timer ||
        (property != forms::Property::Enabled && property != forms::Property::Interval)) {
        return;
    }
    const auto& timer = static_cast<const forms::Timer&>(control);
    if (&timer == m_ticking) {
        return; // settled once its tick is over: the last value written counts
    }
    // A write inside another timer's tick counts from that tick's due time.
    settle(timer, property == forms::Property::Interval, m_ticking ? m_tickDue : m_alarm.now());
    if (!m_delivering) {
        setAlarm();
    }
}

void Scheduler::settle(const forms::Timer& timer, bool restart, Milliseconds from) {
    Due* due = dueOf(timer);
    if (!timer.ticking() || m_halted) {
        if (due != nullptr) {
            m_due.erase(m_due.begin() + (due - m_due.data()));
        }
    } else if (due == nullptr) {
        m_due.push_back({&timer, from + period(timer)});
    } else if (restart) {
        // A new interval governs the wait from the moment it is written.
        due->at = from + period(timer);
    }
}

Scheduler::Due* Scheduler::dueOf(const forms::Timer& timer) {
    const auto found = std::find_if(m_due.begin(), m_due.end(),
                                    [&](const Due& due) { return due.timer == &timer; });
    return found == m_due.end() ? nullptr : &*found;
}

const Scheduler::Due* Scheduler::earliest() const {
    const auto first = std::min_element(m_due.begin(), m_due.end(),
                                        [](const Due& a, const Due& b) { return a.at < b.at; });
    return first == m_due.end() ? nullptr : &*first;
}

Milliseconds Scheduler::period(const forms::Timer& timer) const {
    return std::max<Milliseconds>(1, static_cast<Milliseconds>(timer.interval() / m_timeScale));
}

void Scheduler::setAlarm() {
    m_alarm.wakeAt(m_halted ? std::nullopt : nextDue());
}

} // namespace runtime
