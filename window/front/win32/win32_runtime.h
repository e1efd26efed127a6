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

#include <memory>
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

    // Names of the embedded pictures that do not decode.
    std::vector<std::string> unreadablePictures() { return m_pictures.unreadable(); }

    // Creates the window, raises Form_Load, then shows the window centred on
    // its screen with the focus on the first button in tab order. False if
    // the window could not be created.
    bool start();
    // Runs the message loop until the window closes; the program's exit status.
    int run();

protected:
    runtime::Milliseconds now() const override { return WaitableAlarm::now(); }
    void wakeAt(std::optional<runtime::Milliseconds> when) override { m_alarm.ringAt(when); }
    void placeWindow(Twips left, Twips top) override;
    void showContents(drawing::ContentsOffset offset, Colour ground) override;
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
    void click(const CommandButton& button);
    // Enter presses the focused button; true if the message was Enter to this window.
    bool pressedWithEnter(const MSG& message);
    void settleFocus(HWND before);
    void wakeUp();
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
