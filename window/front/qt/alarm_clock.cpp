// tick_source.cpp: ticks from a timerfd where there is one, from QTimer where not.
#include "tick_source.h"

#include <QSocketNotifier>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

#include <cstdint>

namespace front::qt {

TickSource::TickSource(QObject* parent) : QObject(parent) {
#ifdef Q_OS_LINUX
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { expired(); });
    }
#endif
    m_fallback.setTimerType(Qt::PreciseTimer);
    connect(&m_fallback, &QTimer::timeout, this, [this] { expired(); });
}

TickSource::~TickSource() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
#endif
}

void TickSource::start(int milliseconds) {
    m_active = true;
    m_interval = milliseconds;
    arm(milliseconds);
}

void TickSource::stop() {
    m_active = false;
    arm(0);
}

void TickSource::arm(int milliseconds) {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        itimerspec period{};
        period.it_interval.tv_sec = milliseconds / 1000;
        period.it_interval.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
        period.it_value = period.it_interval; // all zero disarms it
        timerfd_settime(m_fd, 0, &period, nullptr);
        return;
    }
#endif
    if (milliseconds > 0) {
        m_fallback.start(milliseconds);
    } else {
        m_fallback.stop();
    }
}

void TickSource::expired() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        // Ticks missed while a handler ran come as one, as a busy window's timer does.
        std::uint64_t expirations = 0;
        if (::read(m_fd, &expirations, sizeof expirations) != sizeof expirations) {
            return;
        }
    }
#endif
    if (m_active && onTick) {
        onTick();
    }
}

} // namespace front::qt
