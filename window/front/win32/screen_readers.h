// screen_readers.h: what the window tells Windows screen readers: its
// accessible tree when they ask for it, and each message the shared runtime
// announces, as a change of the message's live region.
#pragma once

#include "announcements.h"
#include "window_accessible.h"

#include <windows.h>

#include <optional>

namespace front::win32 {

class ScreenReaders {
public:
    // `announcements` are the runtime's, which outlives this.
    ScreenReaders(const forms::Form& form, const runtime::Announcements& announcements,
                  ButtonWindows buttonWindow);
    ~ScreenReaders();
    ScreenReaders(const ScreenReaders&) = delete;
    ScreenReaders& operator=(const ScreenReaders&) = delete;

    // Sees every message the window gets first: the answer to one that is
    // screen readers' alone, or nothing for the window to go on as usual.
    std::optional<LRESULT> handle(HWND window, UINT message, WPARAM w, LPARAM l);
    // The message's text as screen readers read it changed.
    void messageChanged(HWND window);
    // Screen readers should speak the message now, or, `later`, once the
    // window's other news of the moment has reached them.
    void announce(HWND window, bool later);

private:
    void markLive(HWND window);
    void forget(HWND window);

    const forms::Form& m_form;
    ButtonWindows m_buttonWindow;
    const runtime::Announcements& m_announcements;
    WindowAccessible* m_tree = nullptr;
    IAccPropServices* m_annotations = nullptr;
};

} // namespace front::win32
