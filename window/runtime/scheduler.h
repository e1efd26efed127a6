// scheduler.h: Timer1's clock: which ticks time has made due, delivered in
// order, each at its own due time, on whatever clock the front end keeps.
#pragma once

#include "form.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace runtime {

// Milliseconds on the front end's monotonic clock.
using Milliseconds = std::int64_t;

// What a front end does for the scheduler: tell the time and wake it.
class Alarm {
public:
    virtual ~Alarm() = default;
    // The front end's monotonic clock: never goes back.
    virtual Milliseconds now() const = 0;
    // Call Scheduler::wake() at `when` on that clock, or as soon after as the
    // platform can; nothing if nullopt. Each call replaces the one before.
    virtual void wakeAt(std::optional<Milliseconds> when) = 0;
};

// Decides when each enabled timer of a form ticks, and raises its ticks. The
// bath fills with the wall clock, watched or not: every tick that time has
// made due is delivered, even when the front end wakes late (a busy machine,
// a closed laptop lid, a browser tab woken once a minute), in batches small
// enough that the window answers between them.
class Scheduler : private forms::FormObserver {
public:
    // The most ticks one wake-up delivers before the front end gets the
    // window back: an hour of the shake is 72 batches.
    static constexpr int kTicksPerBatch = 1000;

    // `raiseTick` calls the timer's handler; it returns false once the
    // program has stopped at a run-time error, after which nothing ticks.
    Scheduler(forms::Form& form, Alarm& alarm, std::function<bool(const forms::Timer&)> raiseTick);
    ~Scheduler() override;
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // For maintainers who want to watch a flood without waiting 41 minutes:
    // every interval runs this many times faster. Set before the first tick.
    void setTimeScale(double scale) { m_timeScale = scale; }

    // The alarm went off: delivers the ticks due by now, oldest first, at
    // most `most` of them, then sets the alarm again (at once if more are
    // due). Returns how many it delivered.
    int wake(int most = kTicksPerBatch);

    // When the next tick falls due, if any timer runs.
    std::optional<Milliseconds> nextDue() const;
    // A bath taken up again: the running timer's next tick falls due at
    // `at`, perhaps long past, and every tick due since follows in batches.
    void resume(const forms::Timer& timer, Milliseconds at);
    // How long `timer` waits between ticks, at the time scale.
    Milliseconds period(const forms::Timer& timer) const;
    // True while wake() is delivering a batch.
    bool delivering() const { return m_delivering; }
    // Nothing ticks any more: the program has stopped.
    void halt();

private:
    struct Due {
        const forms::Timer* timer;
        Milliseconds at;
    };

    void controlChanged(const forms::Control& control, forms::Property property) override;
    void formChanged(forms::Property) override {}
    // Starts, restarts or stops a timer's ticks after a write, counting from `from`.
    void settle(const forms::Timer& timer, bool restart, Milliseconds from);
    Due* dueOf(const forms::Timer& timer);
    const Due* earliest() const;
    void setAlarm();

    forms::Form& m_form;
    Alarm& m_alarm;
    std::function<bool(const forms::Timer&)> m_raiseTick;
    double m_timeScale = 1;
    // Every running timer and when it ticks next, in the order they started.
    std::vector<Due> m_due;
    // The timer whose tick is being handled, and that tick's due time: what
    // the handler writes counts from then, the last value counting.
    const forms::Timer* m_ticking = nullptr;
    Milliseconds m_tickDue = 0;
    bool m_delivering = false;
    bool m_halted = false;
};

} // namespace runtime
