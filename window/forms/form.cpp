// form.cpp: the window's own properties and the announcing of changes.
#include "form.h"

#include "run_time_error.h"

#include <algorithm>
#include <cmath>

namespace forms {

Form::Form(const FormProperties& p, std::span<const ControlRow> controls)
    : m_caption(p.caption), m_icon(p.icon), m_backColor(p.backColor), m_clientWidth(p.clientWidth),
      m_clientHeight(p.clientHeight), m_metrics(std::make_shared<GothicTextMetrics>()) {
    for (const ControlRow& row : controls) {
        std::visit(
            [&](const auto& properties) {
                using Kind = typename std::decay_t<decltype(properties)>::Control;
                m_controls.push_back(std::make_unique<Kind>(*this, row.name, properties));
            },
            row.properties);
    }
}

Form::~Form() = default;

void Form::move(Twips left, Twips top) {
    if (!std::isfinite(left) || !std::isfinite(top)) {
        throw RunTimeError(ErrorNumber::InvalidPropertyValue, "Form1.Move");
    }
    // Known as sent before anyone hears of it: a window system may answer
    // while the move is being carried out.
    m_place.sent({snapToPixel(left), snapToPixel(top)});
    announceForm(Property::Left);
}

bool Form::windowStandsAt(Twips left, Twips top) {
    if (!std::isfinite(left) || !std::isfinite(top)) {
        return false;
    }
    return m_place.reported({snapToPixel(left), snapToPixel(top)});
}

void Form::setBackColor(Colour colour) {
    m_backColor = colour;
    announceForm(Property::BackColor);
}

Control* Form::find(std::string_view name) const {
    for (const auto& control : m_controls) {
        if (control->name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

void Form::addObserver(FormObserver* observer) {
    m_observers.push_back(observer);
}

void Form::removeObserver(FormObserver* observer) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
}

void Form::setTextMetrics(std::shared_ptr<const TextMetrics> metrics) {
    m_metrics = std::move(metrics);
    for (const auto& control : m_controls) {
        if (auto* label = dynamic_cast<Label*>(control.get())) {
            label->fitToCaption();
        }
    }
}

void Form::announce(const Control& control, Property property) {
    for (FormObserver* observer : m_observers) {
        observer->controlChanged(control, property);
    }
}

void Form::announceForm(Property property) {
    for (FormObserver* observer : m_observers) {
        observer->formChanged(property);
    }
}

} // namespace forms
