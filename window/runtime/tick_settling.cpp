// tick_settling.cpp: starting, restarting and stopping a Timer's real clock.
#include "tick_settling.h"

namespace runtime {

void settleWrite(const Timer& timer, Property property, PeriodicSource& source, int period,
                 bool halted) {
    if (!timer.ticking() || halted) {
        source.stop();
    } else if (property == Property::Interval || !source.isActive()) {
        source.start(period);
    }
}

void settleTick(const Timer& timer, PeriodicSource& source, int period, bool halted) {
    if (!timer.ticking() || halted) {
        source.stop();
    } else if (source.interval() != period || !source.isActive()) {
        source.start(period);
    }
}

} // namespace runtime
