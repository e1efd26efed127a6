// announcer.cpp: the announcement event, or the nearest thing to it.
#include "announcer.h"

#include <QAccessible>
#include <QtGlobal>

namespace front::qt {

namespace {

class AccessibilityAnnouncer final : public Announcer {
public:
    void announce(QAccessibleInterface* source, const QString& message) override {
        if (!QAccessible::isActive() || source == nullptr) {
            return;
        }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QAccessibleAnnouncementEvent event(source, message);
        QAccessible::updateAccessibility(&event);
#else
        Q_UNUSED(message);
        // Orca speaks a notification as it is shown: the Linux bridge sends
        // that as the source's "showing" state turning on. The alert is what
        // the Windows bridge passes on.
        QAccessibleEvent shown(source, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
        QAccessibleEvent alert(source, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
#endif
    }
};

} // namespace

std::unique_ptr<Announcer> platformAnnouncer() {
    return std::make_unique<AccessibilityAnnouncer>();
}

} // namespace front::qt
