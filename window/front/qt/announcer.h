// announcer.h: asking screen readers to speak what the game has just said.
#pragma once

#include <QString>

#include <memory>

class QAccessibleInterface;

namespace front::qt {

class Announcer {
public:
    virtual ~Announcer() = default;
    // `source`, the window's notification, now holds `message`; screen
    // readers should speak it without the player having to go and look.
    virtual void announce(QAccessibleInterface* source, const QString& message) = 0;
};

// Qt's announcement event where Qt has one (6.8 and later). Before that
// there is none: the notification is shown afresh, which Orca speaks, and
// raises an alert, which the Windows bridge passes on and the Linux one drops.
std::unique_ptr<Announcer> platformAnnouncer();

} // namespace front::qt
