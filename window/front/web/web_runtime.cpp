// web_runtime.cpp: the page's clock, its alarm and its window that stays put.
#include "web_runtime.h"

#include "opening_place.h"
#include "page.h"

#include <cmath>

namespace front::web {

using forms::ControlKind;
using forms::toPixels;
using forms::toTwips;

namespace {

runtime::Milliseconds wholeMilliseconds() {
    return static_cast<runtime::Milliseconds>(std::floor(page::now()));
}

} // namespace

WebRuntime::WebRuntime(Form& form, FormEvents& events, WebView& view)
    : runtime::Runtime(form, events), m_form(form), m_view(view), m_origin(wholeMilliseconds()) {
    m_view.setAnnouncements(&announcements());
}

WebRuntime::~WebRuntime() {
    m_view.setAnnouncements(nullptr);
}

void WebRuntime::start(int screenWidth, int screenHeight) {
    m_origin = wholeMilliseconds();
    if (!raiseLoad() || error()) {
        return;
    }
    const runtime::ScreenPlace place =
        runtime::openingPlace({0, 0, screenWidth, screenHeight}, toPixels(m_form.clientWidth()),
                              toPixels(m_form.clientHeight()));
    m_form.windowStandsAt(toTwips(place.x), toTwips(place.y));
    m_standsAt = {m_form.left(), m_form.top()};
}

const CommandButton* WebRuntime::button(std::string_view name) const {
    const Control* control = m_form.find(name);
    return control != nullptr && control->kind() == ControlKind::CommandButton
               ? static_cast<const CommandButton*>(control)
               : nullptr;
}

bool WebRuntime::click(std::string_view name) {
    const CommandButton* pressed = button(name);
    return pressed != nullptr && raiseClick(*pressed);
}

bool WebRuntime::key(runtime::Key key, bool down, double at) {
    const auto when = static_cast<Milliseconds>(std::floor(at));
    if (!down) {
        keyUp(key, when);
        return false;
    }
    return keyDown(key, when, m_focused);
}

runtime::Milliseconds WebRuntime::now() const {
    return wholeMilliseconds() - m_origin;
}

void WebRuntime::wakeAt(std::optional<Milliseconds> when) {
    // On the page's own clock, so that it can aim the timeout at the very
    // moment the tick falls due.
    page::wakeAt(when ? std::optional<double>(static_cast<double>(*when + m_origin))
                      : std::nullopt);
}

void WebRuntime::showContents(drawing::ContentsOffset offset, Colour ground) {
    m_view.showContents(offset, ground);
}

void WebRuntime::runTimeError(const RunTimeError& error) {
    // On the browser's console too, as a desktop program writes it on stderr.
    runtime::printRunTimeError(error);
}

} // namespace front::web
