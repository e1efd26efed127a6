// focus.cpp: tab order, the first focus, the focus after a handler.
#include "focus.h"

#include <algorithm>

namespace runtime {

std::vector<const CommandButton*> tabOrder(const Form& form) {
    std::vector<const CommandButton*> buttons;
    for (const auto& control : form.controls()) {
        if (const auto* button = dynamic_cast<const CommandButton*>(control.get())) {
            buttons.push_back(button);
        }
    }
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](auto* a, auto* b) { return a->tabIndex() < b->tabIndex(); });
    return buttons;
}

const CommandButton* firstFocus(const Form& form) {
    for (const CommandButton* button : tabOrder(form)) {
        if (button->canBeClicked()) {
            return button;
        }
    }
    return nullptr;
}

const CommandButton* settledFocus(const Form& form, const CommandButton& before) {
    const std::vector<const CommandButton*> order = tabOrder(form);
    const auto from = std::find(order.begin(), order.end(), &before);
    if (from == order.end()) {
        return nullptr;
    }
    const auto start = static_cast<std::size_t>(from - order.begin());
    for (std::size_t step = 0; step < order.size(); ++step) {
        const CommandButton* button = order[(start + step) % order.size()];
        if (button->canBeClicked()) {
            return button;
        }
    }
    return nullptr;
}

} // namespace runtime
