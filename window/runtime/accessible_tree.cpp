// accessible_tree.cpp: the window's parts as screen readers find them, from the form's model.
#include "accessible_tree.h"

#include "announcements.h"

#include <algorithm>
#include <tuple>

namespace runtime {

namespace {

// Everything the game says is the caption of this label.
constexpr std::string_view kMessageLabel = "Lbl_msg";

drawing::DeviceRect areaOf(const forms::Rect& rect) {
    return drawing::deviceRect(rect, 1);
}

AccessibleNode describeButton(const forms::CommandButton& button) {
    return {
        &button, AccessibleRole::PushButton, button.caption(), button.enabled(), button.visible(),
        false,   areaOf(button.rect())};
}

AccessibleNode describeLabel(const forms::Label& label, const forms::Label* message) {
    return {&label,          AccessibleRole::StaticText, spokenText(label.caption()), true,
            label.visible(), &label == message,          areaOf(label.rect())};
}

AccessibleNode describeImage(const forms::Image& image) {
    return {&image, AccessibleRole::Graphic, image.description(), true, image.visible(),
            false,  areaOf(image.rect())};
}

} // namespace

AccessibleNode describeWindow(const forms::Form& form) {
    return {nullptr,
            AccessibleRole::Window,
            form.caption(),
            true,
            true,
            false,
            areaOf({0, 0, form.clientWidth(), form.clientHeight()})};
}

std::vector<AccessibleNode> describeChildren(const forms::Form& form,
                                             const Announcements& announcements) {
    // Buttons and labels first, by tab index; then pictures, by their top.
    using Place = std::tuple<bool, int, float>;
    std::vector<std::pair<Place, AccessibleNode>> placed;
    const forms::Label* message = messageLabel(form);
    for (const auto& control : form.controls()) {
        switch (control->kind()) {
        case forms::ControlKind::CommandButton: {
            const auto& button = static_cast<const forms::CommandButton&>(*control);
            placed.emplace_back(Place{false, button.tabIndex(), 0.0f}, describeButton(button));
            break;
        }
        case forms::ControlKind::Label: {
            const auto& label = static_cast<const forms::Label&>(*control);
            placed.emplace_back(Place{false, label.tabIndex(), 0.0f},
                                describeLabel(label, message));
            break;
        }
        case forms::ControlKind::Image: {
            const auto& image = static_cast<const forms::Image&>(*control);
            placed.emplace_back(Place{true, 0, image.rect().top}, describeImage(image));
            break;
        }
        default:
            break;
        }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<AccessibleNode> children;
    children.reserve(placed.size() + 1);
    for (auto& [place, node] : placed) {
        children.push_back(std::move(node));
    }
    const std::string& latest = announcements.latest();
    children.push_back(
        {nullptr, AccessibleRole::Notification, latest, true, !latest.empty(), false, {}});
    return children;
}

const forms::Label* messageLabel(const forms::Form& form) {
    const forms::Control* control = form.find(kMessageLabel);
    return control != nullptr && control->kind() == forms::ControlKind::Label
               ? static_cast<const forms::Label*>(control)
               : nullptr;
}

std::string spokenText(std::string_view caption) {
    std::string spoken;
    spoken.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n') {
            continue; // the line feed that follows is the break
        }
        spoken.push_back(caption[i]);
    }
    return spoken;
}

} // namespace runtime
