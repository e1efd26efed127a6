// win32_runtime.h: the forms runtime on Win32: a real window, real BUTTON
// controls, a waitable-timer clock and a GDI view of the drawing.
#pragma once

#include "form.h"
#include "gdi_text_metrics.h"
#include "gdi_view.h"
#include "pictures.h"
#include "runtime.h"
#include "screen_readers.h"
#include "waitable_alarm.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace front::win32 {

using forms::Colour;
using forms::CommandButton;
using forms::Control;
using forms::Form;
using forms::FormEvents;
using forms::FormObserver;
using forms::Property;
using forms::RunTimeError;
using forms::Twips;

class Win32Runtime : public runtime::Runtime, private FormObserver {
public:
    // COM must be initialised on this thread (the pictures decode with WIC).
    Win32Runtime(Form& form, FormEvents& events);
    ~Win32Runtime() override;
    Win32Runtime(const Win32Runtime&) = delete;
    Win32Runtime& operator=(const Win32Runtime&) = delete;

    // The one line that says the program is damaged, if a picture it carries
    // (the window's icon among them) does not decode.
    std::optional<std::string> damagedPictures();

    // Creates the window, raises Form_Load, then shows the window centred on
    // its screen with the focus on the first button in tab order. False if
    // the window could not be created.
    bool start();
    // Runs the message loop until the window closes; the program's exit status.
    int run();

    // The player closes the window with its close box (WM_CLOSE).
    std::function<void()> onClose;
    // The desktop session is ending (WM_QUERYENDSESSION, WM_ENDSESSION).
    std::function<void()> onSessionEnd;

protected:
    runtime::Milliseconds now() const override { return WaitableAlarm::now(); }
    void wakeAt(std::optional<runtime::Milliseconds> when) override { m_alarm.ringAt(when); }
    void placeWindow(Twips left, Twips top) override;
    void showContents(drawing::ContentsOffset offset, Colour ground) override;
    // The greeting waits until the activation's own news has gone out.
    void announce(const std::string&, Said said) override {
        m_screenReaders.announce(m_window, said == Said::Greeting);
    }
    void messageChanged(const std::string&) override { m_screenReaders.messageChanged(m_window); }
    const CommandButton* focusedButton() const override { return buttonOf(GetFocus()); }
    void moveFocus(const CommandButton* button) override { focusOn(button); }
    // Tells the player, on stderr and in a message box, and ends the program.
    void runTimeError(const RunTimeError& error) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);

    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property property) override;

    void createButtons();
    void syncButton(const CommandButton& button);
    void layOut();
    void click(WORD id);
    // Space and Enter go to the runtime, not to the dialog manager nor the
    // buttons; true if the message was one of them to this window.
    bool reportedKey(const MSG& message);
    // The button the focus goes to, or the window itself for none.
    void focusOn(const CommandButton* button);
    const CommandButton* buttonOf(HWND widget) const;

    // Everything the window system says about where the window stands comes
    // through here, in device pixels of its outer top left corner: once it is
    // shown, and at each WM_WINDOWPOSCHANGED that moved it, whether the answer
    // to a Move (sent from inside SetWindowPos) or the player's drag.
    void windowPlaced(int x, int y);
    double ratio() const;
    // Reads whether the player wants reduced motion.
    void readMotionPreference();

    Form& m_form;
    std::shared_ptr<GdiTextMetrics> m_metrics;
    Pictures m_pictures;
    GdiView m_view;
    HWND m_window = nullptr;
    HFONT m_buttonFont = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    // Buttons in tab order; a button's control id is its place here plus one.
    std::vector<std::pair<const CommandButton*, HWND>> m_buttons;
    ScreenReaders m_screenReaders;
    WaitableAlarm m_alarm;
    int m_exitStatus = 0;
};

} // namespace front::win32
