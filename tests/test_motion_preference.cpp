// test_motion_preference.cpp: the Linux desktop's wish for reduced motion, as
// the desktop's settings portal tells it, on a session bus of the test's own
// (CTest starts it with dbus-run-session and portal_bus.conf).
#include "motion_preference.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>

using front::qt::MotionPreference;

namespace {

const QString kGnome = QStringLiteral("org.gnome.desktop.interface/enable-animations");
const QString kKde = QStringLiteral("org.kde.kdeglobals.KDE/AnimationDurationFactor");

// Stands in for xdg-desktop-portal and its GNOME or KDE back end: the
// Settings interface at the portal's own name and path, with the desktop's
// settings as the test sets them. Like the real one, Read wraps each value
// in one variant more than SettingChanged does.
class StandInPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    // On a connection of its own, as another program on the bus would be.
    explicit StandInPortal(QVariantMap settings)
        : m_settings(std::move(settings)),
          m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                              QStringLiteral("stand-in portal"))) {
        m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
        m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
    ~StandInPortal() override {
        m_bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in portal"));
    }

    // The player changes a setting in the desktop's own settings.
    void change(const QString& setting, const QVariant& value) {
        m_settings[setting] = value;
        const QStringList parts = setting.split(QLatin1Char('/'));
        emit SettingChanged(parts[0], parts[1], QDBusVariant(value));
    }

public slots:
    QDBusVariant Read(const QString& group, const QString& key) {
        const auto found = m_settings.constFind(group + QLatin1Char('/') + key);
        if (found == m_settings.constEnd()) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                           QStringLiteral("Requested setting not found"));
            return {};
        }
        return QDBusVariant(QVariant::fromValue(QDBusVariant(*found)));
    }

signals:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    QVariantMap m_settings;
    QDBusConnection m_bus;
};

// The preference once both its settings have been read.
bool readPreference(MotionPreference& preference) {
    QSignalSpy told(&preference, &MotionPreference::told);
    return QTest::qWaitFor([&] { return told.count() >= 2; }, 5000);
}

} // namespace

class MotionPreferenceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDBusConnection::sessionBus().isConnected()); }

    void theDesktopsSettingsSayWhetherToReduceMotion_data() {
        QTest::addColumn<QVariantMap>("settings");
        QTest::addColumn<bool>("reduced");
        QTest::newRow("GNOME with its animations") << QVariantMap{{kGnome, true}} << false;
        QTest::newRow("GNOME without") << QVariantMap{{kGnome, false}} << true;
        QTest::newRow("KDE at its own speed") << QVariantMap{{kKde, 1.0}} << false;
        QTest::newRow("KDE with animations in no time") << QVariantMap{{kKde, 0.0}} << true;
        QTest::newRow("KDE's factor as the text of its settings file")
            << QVariantMap{{kKde, QStringLiteral("0")}} << true;
        QTest::newRow("either desktop asking is enough")
            << QVariantMap{{kGnome, true}, {kKde, 0.0}} << true;
        QTest::newRow("a desktop that says nothing") << QVariantMap{} << false;
    }
    void theDesktopsSettingsSayWhetherToReduceMotion() {
        QFETCH(QVariantMap, settings);
        QFETCH(bool, reduced);
        StandInPortal portal(settings);
        MotionPreference preference;
        QVERIFY(readPreference(preference));
        QCOMPARE(preference.reduced(), reduced);
    }

    void withoutAPortalNobodyAsks() {
        MotionPreference preference;
        QVERIFY(readPreference(preference));
        QVERIFY(!preference.reduced());
    }

    void aChangeWhileTheGameRunsIsFollowed() {
        StandInPortal portal({{kGnome, true}});
        MotionPreference preference;
        QVERIFY(readPreference(preference));
        QSignalSpy told(&preference, &MotionPreference::told);
        portal.change(kGnome, false);
        QVERIFY(told.wait(5000));
        QCOMPARE(told.last().first().toBool(), true);
        portal.change(kGnome, true);
        QVERIFY(told.wait(5000));
        QCOMPARE(told.last().first().toBool(), false);
    }
};

QTEST_GUILESS_MAIN(MotionPreferenceTest)
#include "test_motion_preference.moc"
