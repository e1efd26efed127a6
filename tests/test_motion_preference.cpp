// test_motion_preference.cpp: the Linux desktop's wish for reduced motion, as
// the desktop's settings portal tells it, on a session bus of the test's own
// (CTest starts it with dbus-run-session and portal_bus.conf) with a stand-in
// portal in a process of its own.
#include "motion_preference.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using front::qt::MotionPreference;

namespace {

const QString kGnome = QStringLiteral("org.gnome.desktop.interface/enable-animations=");
const QString kKde = QStringLiteral("org.kde.kdeglobals.KDE/AnimationDurationFactor=");

// The stand-in portal holding `settings`, ready on the bus.
std::unique_ptr<QProcess> startPortal(const QStringList& settings) {
    auto portal = std::make_unique<QProcess>();
    portal->start(QStringLiteral(YOPO_STAND_IN_PORTAL), settings);
    if (!portal->waitForReadyRead(5000) || portal->readLine() != "ready\n") {
        return nullptr;
    }
    return portal;
}

void stop(QProcess& portal) {
    portal.closeWriteChannel();
    portal.waitForFinished(5000);
}

// The preference once both its settings have been read.
bool readPreference(MotionPreference& preference) {
    QSignalSpy told(&preference, &MotionPreference::told);
    return QTest::qWaitFor([&] { return told.count() >= 2; }, 5000);
}

} // namespace

class MotionPreferenceTest : public QObject {
    Q_OBJECT

private slots:
    // First, as in the game: nothing in the program has used a D-Bus
    // variant before the preference starts listening.
    void aChangeWhileTheGameRunsIsFollowed() {
        const std::unique_ptr<QProcess> portal = startPortal({kGnome + "b:true"});
        QVERIFY(portal);
        MotionPreference preference;
        QVERIFY(readPreference(preference));
        QVERIFY(!preference.reduced());
        QSignalSpy told(&preference, &MotionPreference::told);
        portal->write((kGnome + "b:false\n").toUtf8());
        QVERIFY(told.wait(5000));
        QVERIFY(preference.reduced());
        portal->write((kGnome + "b:true\n").toUtf8());
        QVERIFY(told.wait(5000));
        QVERIFY(!preference.reduced());
        stop(*portal);
    }

    void theDesktopsSettingsSayWhetherToReduceMotion_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<bool>("reduced");
        QTest::newRow("GNOME with its animations") << QStringList{kGnome + "b:true"} << false;
        QTest::newRow("GNOME without") << QStringList{kGnome + "b:false"} << true;
        QTest::newRow("KDE at its own speed") << QStringList{kKde + "d:1"} << false;
        QTest::newRow("KDE with animations in no time") << QStringList{kKde + "d:0"} << true;
        QTest::newRow("KDE's factor as the text of its settings file")
            << QStringList{kKde + "s:0"} << true;
        QTest::newRow("either desktop asking is enough")
            << QStringList{kGnome + "b:true", kKde + "d:0"} << true;
        QTest::newRow("a desktop that says nothing") << QStringList{} << false;
    }
    void theDesktopsSettingsSayWhetherToReduceMotion() {
        QFETCH(QStringList, settings);
        QFETCH(bool, reduced);
        const std::unique_ptr<QProcess> portal = startPortal(settings);
        QVERIFY(portal);
        MotionPreference preference;
        QVERIFY(readPreference(preference));
        QCOMPARE(preference.reduced(), reduced);
        stop(*portal);
    }

    void withoutAPortalNobodyAsks() {
        MotionPreference preference;
        QVERIFY(readPreference(preference));
        QVERIFY(!preference.reduced());
    }
};

QTEST_GUILESS_MAIN(MotionPreferenceTest)
#include "test_motion_preference.moc"
