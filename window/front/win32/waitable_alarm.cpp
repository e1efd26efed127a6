// precise_timer.cpp: a periodic waitable timer, high resolution where there is one.
#include "precise_timer.h"

#include <timeapi.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace front::win32 {

namespace {

// A waitable timer's due time counts 100-nanosecond steps; negative is from now.
constexpr LONGLONG kStepsPerMillisecond = 10000;

} // namespace

WaitableTickSource::WaitableTickSource() {
    m_timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                     TIMER_ALL_ACCESS);
    m_highResolution = m_timer != nullptr;
    if (m_timer == nullptr) {
        m_timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
}

WaitableTickSource::~WaitableTickSource() {
    stop();
    if (m_timer != nullptr) {
        CloseHandle(m_timer);
    }
}

void WaitableTickSource::start(int milliseconds) {
    m_active = true;
    m_interval = milliseconds;
    holdFineClock(!m_highResolution);
    // A tick that fell due under the old period and was not yet delivered
    // does not count against the new one.
    WaitForSingleObject(m_timer, 0);
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(milliseconds) * kStepsPerMillisecond;
    SetWaitableTimer(m_timer, &due, milliseconds, nullptr, nullptr, FALSE);
}

void WaitableTickSource::stop() {
    m_active = false;
    if (m_timer != nullptr) {
        CancelWaitableTimer(m_timer);
        WaitForSingleObject(m_timer, 0);
    }
    holdFineClock(false);
}

void WaitableTickSource::expired() {
    if (m_active && onTick) {
        onTick();
    }
}

void WaitableTickSource::holdFineClock(bool hold) {
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
