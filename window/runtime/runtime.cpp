// runtime.cpp: raising events, and catching what the game does not.
#include "runtime.h"

namespace runtime {

template <typename Handler>
bool Runtime::raise(Handler&& handler) {
    if (m_error) {
        return false;
    }
    try {
        handler();
    } catch (const RunTimeError& error) {
        m_error = error;
        runTimeError(error);
    }
    return true;
}

bool Runtime::raiseLoad() {
    return raise([&] { m_events.load(); });
}

bool Runtime::raiseClick(const CommandButton& button) {
    if (!button.canBeClicked()) {
        return false;
    }
    return raise([&] { m_events.click(button); });
}

bool Runtime::raiseTick(const Timer& timer) {
    return raise([&] { m_events.tick(timer); });
}

} // namespace runtime
