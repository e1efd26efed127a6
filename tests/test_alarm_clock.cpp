// test_tick_source.cpp: the timer under Timer1 starts, restarts and stops as told.
#include "tick_source.h"

#include <QCoreApplication>
#include <QTest>

using front::qt::TickSource;

class TickSourceTest : public QObject {
    Q_OBJECT

private slots:
    void ticksUntilStopped() {
        TickSource source;
        int ticks = 0;
        source.onTick = [&] { ++ticks; };
        source.start(10);
        QVERIFY(source.isActive());
        QCOMPARE(source.interval(), 10);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 2000);
        source.stop();
        QVERIFY(!source.isActive());
        const int stoppedAt = ticks;
        QTest::qWait(100);
        QCOMPARE(ticks, stoppedAt);
    }

    void aRestartGovernsFromThen() {
        TickSource source;
        int ticks = 0;
        source.onTick = [&] { ++ticks; };
        source.start(60000);
        source.start(10);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 2000);
        QCOMPARE(source.interval(), 10);
    }
};

QTEST_GUILESS_MAIN(TickSourceTest)
#include "test_tick_source.moc"
