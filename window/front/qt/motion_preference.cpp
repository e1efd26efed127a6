// motion_preference.cpp: the desktop's animation settings, read over D-Bus.
#include "motion_preference.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace front::qt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");

const QString kGnome = QStringLiteral("org.gnome.desktop.interface");
const QString kGnomeAnimations = QStringLiteral("enable-animations");
const QString kKde = QStringLiteral("org.kde.kdeglobals.KDE");
const QString kKdeAnimationSpeed = QStringLiteral("AnimationDurationFactor");

// Read hands each value over wrapped in a variant of its own, once more
// than SettingChanged does.
QVariant unwrapped(QVariant value) {
    while (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        value = qvariant_cast<QDBusVariant>(value).variant();
    }
    return value;
}

} // namespace

MotionPreference::MotionPreference(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    // Qt finds the slot below by its parameters' type names, and knows a
    // D-Bus variant's by name only once something in the program has used
    // one: at start, nothing has.
    qRegisterMetaType<QDBusVariant>();
    // Listening before asking, so that no change falls between the two.
    bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    read(kGnome, kGnomeAnimations);
    read(kKde, kKdeAnimationSpeed);
}

void MotionPreference::read(const QString& group, const QString& key) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    call << group << key;
    // Never waited for: a portal that is slow to start holds up nothing.
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, group, key](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusVariant> reply = *finished;
                if (reply.isError()) {
                    // No portal, or a desktop without this setting.
                    emit told(reduced());
                    return;
                }
                take(group, key, reply.value().variant());
            });
}

void MotionPreference::settingChanged(const QString& group, const QString& key,
                                      const QDBusVariant& value) {
    if ((group == kGnome && key == kGnomeAnimations) ||
        (group == kKde && key == kKdeAnimationSpeed)) {
        take(group, key, value.variant());
    }
}

void MotionPreference::take(const QString& group, const QString& key, const QVariant& value) {
    const QVariant setting = unwrapped(value);
    if (group == kGnome && key == kGnomeAnimations && setting.canConvert<bool>()) {
        m_gnomeStill = !setting.toBool();
    } else if (group == kKde && key == kKdeAnimationSpeed) {
        // KDE keeps it as text in kdeglobals; 0 plays every animation in no time.
        bool number = false;
        const double factor = setting.toDouble(&number);
        m_kdeStill = number && factor <= 0;
    }
    emit told(reduced());
}

} // namespace front::qt
