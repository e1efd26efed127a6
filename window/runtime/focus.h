// focus.h: the keyboard among a form's buttons: the order Tab visits them in,
// where the focus starts, and where it goes when its button can no longer
// act. Every front end asks here and only carries the answer out.
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

} // namespace runtime
