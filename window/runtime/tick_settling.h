// tick_settling.h: when a runtime's real clock starts, restarts or stops a
// Timer's ticks, the same on every platform that has one.
#pragma once

#include "controls.h"

namespace runtime {

using forms::Property;
using forms::Timer;

// A platform's periodic clock behind one Timer.
class PeriodicSource {
public:
    virtual ~PeriodicSource() = default;
    // Ticks every `milliseconds` from now on, the first one a whole interval away.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

// The game wrote the timer's Enabled or Interval outside that timer's own
// tick: a new interval governs the wait from the moment it is written.
// `period` is the interval as the clock runs it; `halted` after a run-time error.
void settleWrite(const Timer& timer, Property property, PeriodicSource& source, int period,
                 bool halted);

// The timer's own tick is over: whatever it wrote governs the wait from now,
// the last value counting. A period that began with this very tick and keeps
// its length runs on untouched, so steady ticks do not drift by the time
// their handlers take.
void settleTick(const Timer& timer, PeriodicSource& source, int period, bool halted);

} // namespace runtime
