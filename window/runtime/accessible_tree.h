// accessible_tree.h: the window as screen readers find it: what each part is,
// what it is called, whether it can act, whether it is shown, and where.
#pragma once

#include "drawing.h"
#include "form.h"

#include <string>
#include <string_view>
#include <vector>

namespace runtime {

class Announcements;

enum class AccessibleRole {
    Window,     // named by its caption
    PushButton, // named by its caption
    StaticText, // a label: its caption is its name and its text
    Graphic,    // a picture, named by what it shows
    // The latest message again, for screen readers that speak only a
    // notification at once wherever the focus is (Orca). It takes no room.
    Notification,
};

struct AccessibleNode {
    // The model's control; none for the window and the notification.
    const forms::Control* control = nullptr;
    AccessibleRole role = AccessibleRole::Window;
    std::string name;
    bool enabled = true;
    bool shown = true;
    // The master's message: screen readers that follow a live region hear
    // each new one as Announcements decides.
    bool live = false;
    // Where it is painted in the client area, in the layout's pixels, the
    // shake aside; empty for what takes no room.
    drawing::DeviceRect area;
};

// The window itself.
AccessibleNode describeWindow(const forms::Form& form);

// The window's children in the order screen readers walk them: the push
// buttons and the labels in tab order, then the pictures from the top down,
// and last the notification. Lines, shapes and the timer are not there:
// they are drawing, or nothing to see.
std::vector<AccessibleNode> describeChildren(const forms::Form& form,
                                             const Announcements& announcements);

// The label through which the game says everything.
const forms::Label* messageLabel(const forms::Form& form);

// A caption as screen readers read it: the balloon breaks its lines with
// CR LF, they want plain line breaks.
std::string spokenText(std::string_view caption);

} // namespace runtime
