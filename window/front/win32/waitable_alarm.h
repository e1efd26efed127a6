// waitable_alarm.h: wakes Timer1's scheduler on Windows, from a waitable timer.
#pragma once

#include "scheduler.h"

#include <windows.h>

#include <optional>

namespace front::win32 {

// The message loop waits on the timer's handle beside the window's messages
// (MsgWaitForMultipleObjectsEx), so a tick is a wake-up of the user-interface
// thread at the moment the kernel's timer falls due, not a WM_TIMER, which
// comes on the system's coarse tick (15.6 ms) and only when the queue is
// empty. Each wake-up is aimed at its tick's own due time on the performance
// counter, so steady ticks cannot drift. Where the system offers a high
// resolution timer it is taken; elsewhere the system clock is asked for
// 1 ms resolution while the alarm is set.
class WaitableAlarm {
public:
    WaitableAlarm();
    ~WaitableAlarm();
    WaitableAlarm(const WaitableAlarm&) = delete;
    WaitableAlarm& operator=(const WaitableAlarm&) = delete;

    // Milliseconds on the performance counter, which never goes back.
    static runtime::Milliseconds now();
    // Rings at `when` (at once if that has passed), or never if nullopt;
    // each call replaces the one before.
    void ringAt(std::optional<runtime::Milliseconds> when);
    bool isSet() const { return m_set; }

    // The handle the message loop waits on while the alarm is set.
    HANDLE handle() const { return m_timer; }
    bool highResolution() const { return m_highResolution; }
    // Called by the message loop when the handle is signalled: true if the
    // alarm was set, and is now spent.
    bool rang();

private:
    void holdFineClock(bool hold);

    HANDLE m_timer = nullptr;
    bool m_highResolution = false;
    bool m_fineClock = false;
    bool m_set = false;
};

} // namespace front::win32
