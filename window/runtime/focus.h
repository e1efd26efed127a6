// focus.h: the keyboard among a form's buttons: the order Tab visits them in,
// where the focus starts, where it goes when its button can no longer act,
// and which keys press the button that has it. Every front end asks here
// and only carries the answer out.
#pragma once

#include "form.h"

#include <vector>

namespace runtime {

using forms::CommandButton;
using forms::Form;

// Where the focus is, in every answer below: a button, or nullptr for the
// window itself, which holds the focus while no button can act.

// The form's buttons by TabIndex; Tab visits those that can act in this
// order. Buttons with the same TabIndex keep the form's order.
std::vector<const CommandButton*> tabOrder(const Form& form);

// The button that has the focus as the window opens: the first in tab order
// that can act.
const CommandButton* firstFocus(const Form& form);

// Where the focus settles once a handler is over, for the button that had
// it when the handler began: that button while it can act (a handler may
// take a button's Enabled and give it back), else the first after it in tab
// order, round to the start, that can act now. Only once the handler is
// over: closing the tap disables the tap's button before it enables the
// fire's.
const CommandButton* settledFocus(const Form& form, const CommandButton& before);

// The keys that can press a button, as every platform's key codes map onto
// them; Tab and the rest are Other.
enum class Key { Space, Enter, Other };

// The button a key press presses, if any: the focused one, for Space or
// Enter, while it can act. A key held down presses once, not at every
// repeat.
const CommandButton* pressedBy(Key key, bool autoRepeat, const CommandButton* focused);

} // namespace runtime
