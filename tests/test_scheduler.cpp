// test_scheduler.cpp: Timer1's clock delivers every tick time has made due,
// each at its own due time, however late the front end wakes it.
#include "form1.h"
#include "runtime.h"
#include "scheduler.h"

#include <QTest>

#include <optional>

using runtime::Milliseconds;

namespace {

// The front end's clock, which the test moves by hand.
class FakeAlarm : public runtime::Alarm {
public:
    Milliseconds clock = 0;
    std::optional<Milliseconds> setFor;
    Milliseconds now() const override { return clock; }
    void wakeAt(std::optional<Milliseconds> when) override { setFor = when; }
};

// Timer1 on a scheduler, and what its handler does at the nth tick.
struct Clocked {
    forms::Form1 form;
    FakeAlarm alarm;
    int ticks = 0;
    int stopAt = 0;      // writes Enabled = False at this tick
    int failAt = 0;      // stops at a run-time error at this tick
    int newInterval = 0; // written at every tick, as heating writes it
    runtime::Scheduler scheduler{form, alarm, [this](const forms::Timer&) {
                                     ++ticks;
                                     if (newInterval != 0) {
                                         form.Timer1.setInterval(newInterval);
                                     }
                                     if (ticks == stopAt) {
                                         form.Timer1.setEnabled(false);
                                     }
                                     return ticks != failAt;
                                 }};

    explicit Clocked(int interval) {
        form.Timer1.setInterval(interval);
        form.Timer1.setEnabled(true);
    }
};

// A host that counts where the runtime asks it to put the window, around
// handlers that move the window at every tick, as the shake does.
struct AForm {
    forms::Form1 form; // made before the runtime that watches it
};

class CountingHost : private AForm, public runtime::Runtime, public forms::FormEvents {
public:
    using AForm::form;
    Milliseconds clock = 0;
    std::optional<Milliseconds> setFor;
    int placed = 0;

    CountingHost() : runtime::Runtime(form, *this) {}
    void load() override {}
    void click(const forms::CommandButton&) override {}
    void tick(const forms::Timer&) override { form.move(form.left() - 100, form.top()); }

protected:
    Milliseconds now() const override { return clock; }
    void wakeAt(std::optional<Milliseconds> when) override { setFor = when; }
    void placeWindow(forms::Twips, forms::Twips) override { ++placed; }
    void runTimeError(const forms::RunTimeError&) override {}
};

constexpr Milliseconds kNone = -1;
constexpr Milliseconds kHour = 3'600'000;

} // namespace

class SchedulerTest : public QObject {
    Q_OBJECT

private slots:
    void aWakeUpDeliversWhatIsDue_data() {
        QTest::addColumn<int>("interval");
        QTest::addColumn<Milliseconds>("wokenAt");
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<int>("failAt");
        QTest::addColumn<int>("newInterval");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<Milliseconds>("nextDue");

        QTest::newRow("on time") << 6000 << Milliseconds{6000} << 0 << 0 << 0 << 1
                                 << Milliseconds{12000};
        QTest::newRow("late by part of an interval: no drift")
            << 6000 << Milliseconds{6400} << 0 << 0 << 0 << 1 << Milliseconds{12000};
        QTest::newRow("early: nothing yet")
            << 6000 << Milliseconds{5999} << 0 << 0 << 0 << 0 << Milliseconds{6000};
        QTest::newRow("late by 60 s at 6000 ms: every tick")
            << 6000 << Milliseconds{66000} << 0 << 0 << 0 << 11 << Milliseconds{72000};
        QTest::newRow("a 50 ms shake an hour behind: one batch, the rest next")
            << 50 << kHour << 0 << 0 << 0 << runtime::Scheduler::kTicksPerBatch
            << Milliseconds{50 * (runtime::Scheduler::kTicksPerBatch + 1)};
        QTest::newRow("an Interval written in a caught-up tick counts from its due time")
            << 6000 << Milliseconds{10000} << 0 << 0 << 1500 << 3 << Milliseconds{10500};
        QTest::newRow("stopped by a tick in a catch-up: the rest is dropped")
            << 6000 << Milliseconds{60000} << 3 << 0 << 0 << 3 << kNone;
        QTest::newRow("a run-time error in a catch-up: nothing more")
            << 6000 << Milliseconds{60000} << 0 << 2 << 0 << 2 << kNone;
    }
    void aWakeUpDeliversWhatIsDue() {
        QFETCH(int, interval);
        QFETCH(Milliseconds, wokenAt);
        Clocked clocked(interval);
        QFETCH(int, stopAt);
        QFETCH(int, failAt);
        QFETCH(int, newInterval);
        clocked.stopAt = stopAt;
        clocked.failAt = failAt;
        clocked.newInterval = newInterval;
        QCOMPARE(clocked.alarm.setFor, std::optional<Milliseconds>(interval));

        clocked.alarm.clock = wokenAt;
        clocked.scheduler.wake();

        QTEST(clocked.ticks, "ticks");
        QFETCH(Milliseconds, nextDue);
        const std::optional<Milliseconds> expected =
            nextDue == kNone ? std::nullopt : std::optional(nextDue);
        QCOMPARE(clocked.scheduler.nextDue(), expected);
        // The alarm is set for the next tick: at once when it is already due.
        QCOMPARE(clocked.alarm.setFor, expected);
    }

    void anHourOfShakingBehindCatchesUpBatchByBatch() {
        Clocked clocked(50);
        clocked.alarm.clock = kHour;
        int batches = 0;
        while (clocked.alarm.setFor && *clocked.alarm.setFor <= kHour) {
            clocked.scheduler.wake();
            ++batches;
        }
        QCOMPARE(clocked.ticks, 72000);
        QCOMPARE(batches, 72);
        QCOMPARE(clocked.scheduler.nextDue(), std::optional(kHour + 50));
    }

    void anIntervalWrittenOutsideATickCountsFromThen() {
        Clocked clocked(6000);
        clocked.alarm.clock = 4000;
        clocked.form.Timer1.setInterval(1500);
        QCOMPARE(clocked.alarm.setFor, std::optional<Milliseconds>(5500));
        // Enabling a running timer again changes nothing.
        clocked.form.Timer1.setEnabled(true);
        QCOMPARE(clocked.scheduler.nextDue(), std::optional<Milliseconds>(5500));
    }

    void theWindowIsPlacedOncePerBatch() {
        CountingHost host;
        host.form.move(0, 0); // outside a batch: placed at once
        QCOMPARE(host.placed, 1);
        host.form.Timer1.setInterval(50);
        host.form.Timer1.setEnabled(true);
        host.clock = 50 * 2500;
        while (host.setFor && *host.setFor <= host.clock) {
            host.wake();
        }
        QCOMPARE(host.placed, 1 + 3);
    }

    void afterARunTimeErrorNothingTicksAgain() {
        Clocked clocked(6000);
        clocked.failAt = 1;
        clocked.alarm.clock = 6000;
        clocked.scheduler.wake();
        clocked.form.Timer1.setInterval(50);
        QCOMPARE(clocked.scheduler.nextDue(), std::nullopt);
        QCOMPARE(clocked.alarm.setFor, std::nullopt);
    }
};

QTEST_GUILESS_MAIN(SchedulerTest)
#include "test_scheduler.moc"
