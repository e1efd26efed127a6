// screen_readers.h: what the window tells Windows screen readers, and when:
// its accessible tree when they ask for it, and each new message, as the
// shared runtime decides, as a change of the message's live region.
#pragma once

#include "announcements.h"
#include "window_accessible.h"

#include <windows.h>

#include <optional>

namespace front::win32 {

class ScreenReaders {
public:
    ScreenReaders(const forms::Form& form, ButtonWindows buttonWindow);
    ~ScreenReaders();
    ScreenReaders(const ScreenReaders&) = delete;
    ScreenReaders& operator=(const ScreenReaders&) = delete;

    // Sees every message the window gets first: the answer to one that is
    // screen readers' alone, or nothing for the window to go on as usual.
    std::optional<LRESULT> handle(HWND window, UINT message, WPARAM w, LPARAM l);
    // A label's caption changed.
    void captionChanged(HWND window, const forms::Label& label);

private:
    void markLive(HWND window);
    void forget(HWND window);

    const forms::Form& m_form;
    ButtonWindows m_buttonWindow;
    runtime::Announcements m_announcements;
    WindowAccessible* m_tree = nullptr;
    IAccPropServices* m_annotations = nullptr;
};

} // namespace front::win32
