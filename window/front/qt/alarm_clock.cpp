// alarm_clock.cpp: a timerfd where there is one, a precise QTimer where not.
#include "alarm_clock.h"

#include <QSocketNotifier>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace front::qt {

AlarmClock::AlarmClock(QObject* parent) : QObject(parent) {
#ifdef Q_OS_LINUX
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { rang(); });
    }
#endif
    m_fallback.setTimerType(Qt::PreciseTimer);
    m_fallback.setSingleShot(true);
    connect(&m_fallback, &QTimer::timeout, this, [this] { rang(); });
}

AlarmClock::~AlarmClock() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
#endif
}

runtime::Milliseconds AlarmClock::now() {
    // steady_clock is CLOCK_MONOTONIC, the timerfd's own clock.
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void AlarmClock::ringAt(std::optional<runtime::Milliseconds> when) {
    m_set = when.has_value();
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        itimerspec moment{}; // all zero disarms it
        if (when) {
            // A moment already past must still ring: zero would disarm.
            const runtime::Milliseconds at = std::max<runtime::Milliseconds>(*when, 1);
            moment.it_value.tv_sec = static_cast<time_t>(at / 1000);
            moment.it_value.tv_nsec = static_cast<long>(at % 1000) * 1000000L;
        }
        timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &moment, nullptr);
        return;
    }
#endif
    if (when) {
        m_fallback.start(
            static_cast<int>(std::clamp<runtime::Milliseconds>(*when - now(), 0, INT32_MAX)));
    } else {
        m_fallback.stop();
    }
}

void AlarmClock::rang() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        std::uint64_t expirations = 0;
        if (::read(m_fd, &expirations, sizeof expirations) != sizeof expirations) {
            return;
        }
    }
#endif
    if (m_set) {
        m_set = false;
        if (onRing) {
            onRing();
        }
    }
}

} // namespace front::qt
