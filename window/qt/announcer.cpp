// announcer.cpp: the announcement event, or the nearest thing to it.
#include "announcer.h"

#include <QAccessible>
#include <QtGlobal>

namespace forms {

namespace {

class AccessibilityAnnouncer final : public Announcer {
public:
    void announce(QAccessibleInterface* source, const QString& message) override {
        if (!QAccessible::isActive() || source == nullptr) {
            return;
        }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QAccessibleAnnouncementEvent event(source, message);
#else
        Q_UNUSED(message);
        QAccessibleEvent event(source, QAccessible::Alert);
#endif
        QAccessible::updateAccessibility(&event);
    }
};

} // namespace

std::unique_ptr<Announcer> platformAnnouncer() {
    return std::make_unique<AccessibilityAnnouncer>();
}

} // namespace forms
