// web_view.cpp: the frame, the page's elements and the words to announce.
#include "web_view.h"

#include "focus.h"

#include <cstdio>
#include <string_view>
#include <utility>

namespace front::web {

namespace {

// The label through which the game says everything.
constexpr std::string_view kMessageLabel = "Lbl_msg";

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* boolean(bool value) {
    return value ? "true" : "false";
}

// One of the page's elements.
struct Element {
    const VisibleControl* control;
    const char* role;
    std::string name;
    bool enabled;
    Rect rect;
    float points;
};

std::vector<Element> elementsOf(const Form& form) {
    std::vector<Element> elements;
    for (const CommandButton* button : runtime::tabOrder(form)) {
        elements.push_back({button, "button", button->caption(), button->enabled(), button->rect(),
                            kDefaultFontSize});
    }
    for (const auto& control : form.controls()) {
        if (control->kind() == ControlKind::Label) {
            const auto& label = static_cast<const Label&>(*control);
            const bool message = label.name() == kMessageLabel;
            elements.push_back({&label, message ? "status" : "text", message ? "" : label.caption(),
                                true, label.rect(), label.fontSize()});
        } else if (control->kind() == ControlKind::Image) {
            const auto& image = static_cast<const Image&>(*control);
            elements.push_back(
                {&image, "img", image.description(), true, image.rect(), kDefaultFontSize});
        }
    }
    return elements;
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
    std::string out = "{\"window\":{\"name\":" + quoted(m_form.caption()) +
                      ",\"width\":" + std::to_string(toPixels(m_form.clientWidth())) +
                      ",\"height\":" + std::to_string(toPixels(m_form.clientHeight())) +
                      "},\"controls\":[";
    bool first = true;
    for (const Element& element : elementsOf(m_form)) {
        const drawing::DeviceRect area = drawing::deviceRect(element.rect, ratio, m_offset);
        char numbers[160];
        std::snprintf(numbers, sizeof numbers, "\"area\":[%d,%d,%d,%d],\"em\":%.17g", area.left,
                      area.top, area.width, area.height, fontPixels(element.points) * ratio);
        out += first ? "{" : ",{";
        first = false;
        out += "\"id\":" + quoted(element.control->name()) + ",\"role\":\"" + element.role +
               "\",\"name\":" + quoted(element.name) + ",\"enabled\":" + boolean(element.enabled) +
               ",\"shown\":" + boolean(element.control->visible()) + "," + numbers + "}";
    }
    out += "]";
    if (m_say) {
        out += ",\"say\":" + quoted(*std::exchange(m_say, std::nullopt));
    }
    if (stopped) {
        out += ",\"stopped\":" + quoted(stopped->report());
    }
    return out + "}";
}

const CommandButton* WebView::focusAfter(const CommandButton* before) const {
    return before == nullptr ? runtime::firstFocus(m_form) : runtime::settledFocus(m_form, *before);
}

void WebView::controlChanged(const Control& control, Property property) {
    if (property == Property::Caption && control.name() == kMessageLabel) {
        m_say = static_cast<const Label&>(control).caption();
    }
}

} // namespace front::web
