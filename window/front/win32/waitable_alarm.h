// precise_timer.h: Timer1's clock on Windows, a periodic waitable timer.
#pragma once

#include "tick_settling.h"

#include <windows.h>

#include <functional>

namespace front::win32 {

using namespace ::forms;

// The message loop waits on the timer's handle beside the window's messages
// (MsgWaitForMultipleObjectsEx), so a tick is a wake-up of the user-interface
// thread at the moment the kernel's timer falls due, not a WM_TIMER, which
// comes on the system's coarse tick (15.6 ms) and only when the queue is
// empty. The timer is periodic in the kernel: each due time is the last plus
// the period, so steady ticks cannot drift. Where the system offers a high
// resolution timer it is taken; elsewhere the system clock is asked for
// 1 ms resolution while the timer runs.
class WaitableTickSource : public runtime::PeriodicSource {
public:
    WaitableTickSource();
    ~WaitableTickSource() override;
    WaitableTickSource(const WaitableTickSource&) = delete;
    WaitableTickSource& operator=(const WaitableTickSource&) = delete;

    void start(int milliseconds) override;
    void stop() override;
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

    // The handle the message loop waits on; signalled once per tick, and
    // ticks missed while a handler ran come as one.
    HANDLE handle() const { return m_timer; }
    bool highResolution() const { return m_highResolution; }
    // Called by the message loop when the handle is signalled.
    void expired();

    std::function<void()> onTick;

private:
    void holdFineClock(bool hold);

    HANDLE m_timer = nullptr;
    bool m_highResolution = false;
    bool m_fineClock = false;
    bool m_active = false;
    int m_interval = 0;
};

} // namespace front::win32
