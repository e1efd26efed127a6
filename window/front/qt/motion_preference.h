// motion_preference.h: whether the player's Linux desktop asks for reduced
// motion, as its settings portal says.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class QDBusVariant;

namespace front::qt {

// Reads GNOME's enable-animations and KDE's AnimationDurationFactor from the
// desktop's settings portal (org.freedesktop.portal.Settings on the session
// bus) and follows them while the game runs. Either desktop switching its
// animations off asks for reduced motion. Without a session bus or a portal,
// or where neither desktop says, nobody has asked.
class MotionPreference : public QObject {
    Q_OBJECT

public:
    // Asks the portal at once; its answers come while the game runs.
    explicit MotionPreference(QObject* parent = nullptr);

    bool reduced() const { return m_gnomeStill || m_kdeStill; }

signals:
    // The desktop has had its say, as each setting is read (or found
    // missing) and whenever the player changes one; the answer may repeat.
    void told(bool reduced);

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void read(const QString& group, const QString& key);
    void take(const QString& group, const QString& key, const QVariant& value);

    // Whether each desktop has its animations switched off.
    bool m_gnomeStill = false;
    bool m_kdeStill = false;
};

} // namespace front::qt
