// web_view.cpp: the frame, the page's elements and the words to announce.
#include "web_view.h"

#include "accessible_tree.h"
#include "json.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

namespace front::web {

using forms::ControlKind;
using forms::fontPixels;
using forms::Image;
using forms::kDefaultFontSize;
using forms::Label;
using forms::Rect;
using forms::toPixels;

namespace {

std::string quoted(std::string_view text) {
    return runtime::jsonString(text);
}

const char* boolean(bool value) {
    return value ? "true" : "false";
}

// What the page makes of each part screen readers find in the window. The
// notification is not among them: the page's live region already says each
// message wherever the focus is.
const char* roleOf(const runtime::AccessibleNode& node) {
    switch (node.role) {
    case runtime::AccessibleRole::PushButton:
        return "button";
    case runtime::AccessibleRole::StaticText:
        return node.live ? "status" : "text";
    case runtime::AccessibleRole::Graphic:
        return "img";
    case runtime::AccessibleRole::Window:
    case runtime::AccessibleRole::Notification:
        break;
    }
    return nullptr;
}

// Where a control lies in the layout, and the em of the font it is written in.
std::pair<Rect, float> placeOf(const Control& control) {
    switch (control.kind()) {
    case ControlKind::CommandButton:
        return {static_cast<const CommandButton&>(control).rect(), kDefaultFontSize};
    case ControlKind::Label: {
        const auto& label = static_cast<const Label&>(control);
        return {label.rect(), label.fontSize()};
    }
    case ControlKind::Image:
        return {static_cast<const Image&>(control).rect(), kDefaultFontSize};
    default:
        return {{}, kDefaultFontSize};
    }
}

} // namespace

WebView::WebView(Form& form, const TextMetrics& metrics) : m_form(form), m_metrics(metrics) {
    m_form.addObserver(this);
}

WebView::~WebView() {
    m_form.removeObserver(this);
}

const PaintList& WebView::frame(double ratio) {
    m_frame.paint(drawing::drawFrame(m_form, m_metrics, ratio, m_offset, m_ground));
    return m_frame;
}

std::string WebView::describe(double ratio, const std::optional<RunTimeError>& stopped) {
    std::string title = m_form.caption();
    if (const Label* message = runtime::messageLabel(m_form); m_shaking && message != nullptr) {
        const std::string& words = message->caption();
        title = words.substr(0, words.find("\r\n"));
    }
    std::string out = "{\"window\":{\"name\":" + quoted(runtime::describeWindow(m_form).name) +
                      ",\"width\":" + std::to_string(toPixels(m_form.clientWidth())) +
                      ",\"height\":" + std::to_string(toPixels(m_form.clientHeight())) +
                      ",\"title\":" + quoted(title) + ",\"danger\":" + boolean(m_shaking) +
                      "},\"controls\":[";
    // The master speaks first: what he says is why the buttons matter.
    std::vector<runtime::AccessibleNode> nodes = runtime::describeChildren(
        m_form, m_announcements != nullptr ? *m_announcements : m_unannounced);
    std::stable_partition(nodes.begin(), nodes.end(),
                          [](const runtime::AccessibleNode& node) { return node.live; });
    bool first = true;
    for (const runtime::AccessibleNode& node : nodes) {
        const char* role = roleOf(node);
        if (role == nullptr || node.control == nullptr) {
            continue;
        }
        const auto [rect, points] = placeOf(*node.control);
        const drawing::DeviceRect area = drawing::deviceRect(rect, ratio, m_offset);
        char numbers[160];
        std::snprintf(numbers, sizeof numbers, "\"area\":[%d,%d,%d,%d],\"em\":%.17g", area.left,
                      area.top, area.width, area.height, fontPixels(points) * ratio);
        out += first ? "{" : ",{";
        first = false;
        out += "\"id\":" + quoted(node.control->name()) + ",\"role\":\"" + role +
               "\",\"name\":" + quoted(node.name) + ",\"enabled\":" + boolean(node.enabled) +
               ",\"shown\":" + boolean(node.shown) + "," + numbers + "}";
    }
    out += "]";
    if (m_focus) {
        out += ",\"focus\":" + quoted(*std::exchange(m_focus, std::nullopt));
    }
    if (m_say) {
        out += ",\"say\":" + quoted(*std::exchange(m_say, std::nullopt));
    }
    if (stopped) {
        out += ",\"stopped\":" + quoted(stopped->report());
    }
    return out + "}";
}

void WebView::formChanged(Property property) {
    // Only the catastrophe shake ever moves the window.
    if (property == Property::Left) {
        m_shaking = true;
    }
}

} // namespace front::web
