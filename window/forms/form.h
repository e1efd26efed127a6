// form.h: a window and its controls, in overlap order, with its observers.
#pragma once

#include "controls.h"
#include "text_metrics.h"
#include "window_place.h"

#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace forms {

// Whoever shows a form or runs its timer hears of every property change
// the moment it is made, in the order the game makes them.
class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void controlChanged(const Control& control, Property property) = 0;
    // Property::Left after a Move, Property::BackColor after a repaint colour.
    virtual void formChanged(Property property) = 0;
};

struct FormProperties {
    std::string caption;
    Colour backColor = 0xFFFFFF;
    Twips clientWidth = 0;
    Twips clientHeight = 0;
    std::string icon;
};

// One control of a form's description: its name and its properties, whose
// type says which kind of control it is.
struct ControlRow {
    const char* name;
    std::variant<ButtonProperties, TimerProperties, LabelProperties, ShapeProperties,
                 LineProperties, ImageProperties>
        properties;
};

class Form {
public:
    // Creates the window and its controls, listed first to last in overlap order.
    Form(const FormProperties& properties, std::span<const ControlRow> controls);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& caption() const { return m_caption; }
    const std::string& icon() const { return m_icon; }
    Twips clientWidth() const { return m_clientWidth; }
    Twips clientHeight() const { return m_clientHeight; }

    // The window's place on the screen, in twips: where the last Move sent
    // it, even before the window system has carried that out, until the
    // player moves the window.
    Twips left() const { return m_place.where().left; }
    Twips top() const { return m_place.where().top; }
    // Sends the window to a new place, keeping its size. A window stands on
    // whole pixels, so it lands on the nearest one.
    void move(Twips left, Twips top);
    // Every front end calls this with what the window system itself says:
    // the window stands at (left, top), its outer top left corner. Call it
    // once the window is first shown, whenever the window system reports the
    // window moved (the late answer to a Move, or the player's drag), and
    // never with the toolkit's own copy of a Move just asked for. It may be
    // called from inside Move, as an answer that comes at once. The form
    // tells the player's moves from its own; returns true for those, after
    // which the game reads the new place. Nobody is told.
    bool windowStandsAt(Twips left, Twips top);

    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour colour);

    // First in the list is drawn over all the others.
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    Control* find(std::string_view name) const;

    void addObserver(FormObserver* observer);
    void removeObserver(FormObserver* observer);

    // How auto-sized labels measure their captions; the form keeps a plain
    // gothic measure until a view brings its real font.
    const TextMetrics& textMetrics() const { return *m_metrics; }
    void setTextMetrics(std::shared_ptr<const TextMetrics> metrics);

    // Called by controls; tells every observer.
    void announce(const Control& control, Property property);

protected:
    template <typename Kind>
    Kind& named(std::string_view name) const;

private:
    void announceForm(Property property);

    std::string m_caption;
    std::string m_icon;
    Colour m_backColor;
    Twips m_clientWidth;
    Twips m_clientHeight;
    WindowPlace m_place;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<FormObserver*> m_observers;
    std::shared_ptr<const TextMetrics> m_metrics;
};

template <typename Kind>
Kind& Form::named(std::string_view name) const {
    return dynamic_cast<Kind&>(*find(name));
}

} // namespace forms
