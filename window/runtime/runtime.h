// runtime.h: what every forms runtime shares: raising the form's events, one at
// a time, and stopping the program at the first run-time error.
#pragma once

#include "form_events.h"
#include "run_time_error.h"

#include <optional>

namespace runtime {

using forms::CommandButton;
using forms::FormEvents;
using forms::RunTimeError;
using forms::Timer;

class Runtime {
public:
    explicit Runtime(FormEvents& events) : m_events(events) {}
    virtual ~Runtime() = default;

    // Each returns whether the event reached its handler: a button that is
    // disabled or hidden raises no click, and after a run-time error nothing
    // is raised any more.
    bool raiseLoad();
    bool raiseClick(const CommandButton& button);
    bool raiseTick(const Timer& timer);

    // The error that stopped the program, if one did.
    const std::optional<RunTimeError>& error() const { return m_error; }

protected:
    // The handler has stopped where it failed; the runtime tells the player
    // and ends the program.
    virtual void runTimeError(const RunTimeError& error) = 0;

private:
    template <typename Handler>
    bool raise(Handler&& handler);

    FormEvents& m_events;
    std::optional<RunTimeError> m_error;
};

} // namespace runtime
