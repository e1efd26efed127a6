// tick_source.h: a periodic timer that comes on time, for Timer1.
#pragma once

#include "tick_settling.h"

#include <QObject>
#include <QTimer>

#include <functional>

class QSocketNotifier;

namespace front::qt {

using namespace ::forms;

// Qt's own timers wake through the event loop's poll(), which the kernel may
// let run late by a thousandth of its wait: 6 ms on a 6-second tick. On Linux
// a timerfd keeps the tick within a fraction of a millisecond; elsewhere, or
// if the kernel refuses one, a precise QTimer stands in.
class TickSource : public QObject, public runtime::PeriodicSource {
public:
    explicit TickSource(QObject* parent = nullptr);
    ~TickSource() override;

    // Ticks every `milliseconds` from now on, the first one a whole interval away.
    void start(int milliseconds) override;
    void stop() override;
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

    std::function<void()> onTick;

private:
    void arm(int milliseconds);
    void expired();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_fallback;
    bool m_active = false;
    int m_interval = 0;
};

} // namespace front::qt
