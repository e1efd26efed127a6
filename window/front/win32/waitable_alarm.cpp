// waitable_alarm.cpp: a one-shot waitable timer, high resolution where there is one.
#include "waitable_alarm.h"

#include <timeapi.h>

#include <algorithm>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace front::win32 {

namespace {

// A waitable timer's due time counts 100-nanosecond steps; negative is from now.
constexpr LONGLONG kStepsPerSecond = 10'000'000;
constexpr LONGLONG kStepsPerMillisecond = 10'000;

// The performance counter in 100-nanosecond steps.
LONGLONG steps() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart / frequency * kStepsPerSecond +
           count.QuadPart % frequency * kStepsPerSecond / frequency;
}

} // namespace

WaitableAlarm::WaitableAlarm() {
    m_timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                     TIMER_ALL_ACCESS);
    m_highResolution = m_timer != nullptr;
    if (m_timer == nullptr) {
        m_timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
}

WaitableAlarm::~WaitableAlarm() {
    ringAt(std::nullopt);
    if (m_timer != nullptr) {
        CloseHandle(m_timer);
    }
}

runtime::Milliseconds WaitableAlarm::now() {
    return steps() / kStepsPerMillisecond;
}

void WaitableAlarm::ringAt(std::optional<runtime::Milliseconds> when) {
    m_set = when.has_value();
    if (m_timer == nullptr) {
        return;
    }
    // A ring that fell due under the old setting does not count.
    CancelWaitableTimer(m_timer);
    WaitForSingleObject(m_timer, 0);
    holdFineClock(m_set && !m_highResolution);
    if (!when) {
        return;
    }
    LARGE_INTEGER due;
    due.QuadPart = -std::max<LONGLONG>(0, *when * kStepsPerMillisecond - steps());
    if (due.QuadPart == 0) {
        due.QuadPart = -1; // zero would mean the year 1601, which has passed too
    }
    SetWaitableTimer(m_timer, &due, 0, nullptr, nullptr, FALSE);
}

bool WaitableAlarm::rang() {
    const bool wasSet = m_set;
    m_set = false;
    holdFineClock(false);
    return wasSet;
}

void WaitableAlarm::holdFineClock(bool hold) {
    if (hold == m_fineClock) {
        return;
    }
    m_fineClock = hold;
    if (hold) {
        timeBeginPeriod(1);
    } else {
        timeEndPeriod(1);
    }
}

} // namespace front::win32
