// alarm_clock.h: wakes Timer1's scheduler at a moment on the monotonic clock.
#pragma once

#include "scheduler.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QSocketNotifier;

namespace front::qt {

// Qt's own timers wake through the event loop's poll(), which the kernel may
// let run late by a thousandth of its wait: 6 ms on a 6-second tick. On Linux
// a timerfd set to the very moment keeps the tick within a fraction of a
// millisecond; elsewhere, or if the kernel refuses one, a precise QTimer
// stands in.
class AlarmClock : public QObject {
public:
    explicit AlarmClock(QObject* parent = nullptr);
    ~AlarmClock() override;

    // Milliseconds on the monotonic clock.
    static runtime::Milliseconds now();
    // Rings at `when` (at once if that has passed), or never if nullopt;
    // each call replaces the one before.
    void ringAt(std::optional<runtime::Milliseconds> when);
    bool isSet() const { return m_set; }

    std::function<void()> onRing;

private:
    void rang();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_fallback;
    bool m_set = false;
};

} // namespace front::qt
