// test_alarm_clock.cpp: the clock that wakes Timer1's scheduler rings when set, and only then.
#include "alarm_clock.h"

#include <QCoreApplication>
#include <QTest>

using front::qt::AlarmClock;

class AlarmClockTest : public QObject {
    Q_OBJECT

private slots:
    void ringsOnceAtTheMomentSet() {
        AlarmClock alarm;
        int rings = 0;
        runtime::Milliseconds rangAt = 0;
        alarm.onRing = [&] {
            ++rings;
            rangAt = AlarmClock::now();
        };
        const runtime::Milliseconds when = AlarmClock::now() + 30;
        alarm.ringAt(when);
        QTRY_COMPARE_WITH_TIMEOUT(rings, 1, 2000);
        QVERIFY(rangAt >= when);
        QTest::qWait(60);
        QCOMPARE(rings, 1);
        QVERIFY(!alarm.isSet());
    }

    void aMomentPastRingsAtOnce() {
        AlarmClock alarm;
        int rings = 0;
        alarm.onRing = [&] { ++rings; };
        alarm.ringAt(AlarmClock::now() - 5000);
        QTRY_COMPARE_WITH_TIMEOUT(rings, 1, 500);
    }

    void aNewMomentReplacesTheOldAndNoneSilencesIt() {
        AlarmClock alarm;
        int rings = 0;
        alarm.onRing = [&] { ++rings; };
        alarm.ringAt(AlarmClock::now() + 60000);
        alarm.ringAt(AlarmClock::now() + 10);
        QTRY_COMPARE_WITH_TIMEOUT(rings, 1, 2000);
        alarm.ringAt(AlarmClock::now() + 10);
        alarm.ringAt(std::nullopt);
        QTest::qWait(60);
        QCOMPARE(rings, 1);
    }
};

QTEST_GUILESS_MAIN(AlarmClockTest)
#include "test_alarm_clock.moc"
