// form_events.h: the events a form raises, whose handlers the game writes.
#pragma once

#include "controls.h"

namespace forms {

// The handlers behind a form's events. The game implements them.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void load() = 0;
    virtual void click(const CommandButton& button) = 0;
    virtual void tick(const Timer& timer) = 0;
};

} // namespace forms
