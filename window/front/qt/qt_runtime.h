// qt_runtime.h: the forms runtime on Qt: a real window, real buttons and precise timers.
#pragma once

#include "alarm_clock.h"
#include "form.h"
#include "form_view.h"
#include "runtime.h"
#include "window_placer.h"

#include <QObject>

#include <functional>
#include <memory>

namespace front::qt {

using forms::Colour;
using forms::Form;
using forms::FormEvents;
using forms::RunTimeError;
using forms::Twips;

class QtRuntime : public QObject, public runtime::Runtime {
public:
    // The view must show `form`; the runtime owns neither.
    QtRuntime(Form& form, FormEvents& events, FormView& view);
    ~QtRuntime() override;

    // Raises Form_Load, then shows the window centred on its screen.
    void start();

    // How the game's moves of the window reach the screen; by default what
    // works on the platform the application runs on.
    void setWindowPlacer(std::unique_ptr<WindowPlacer> placer) { m_placer = std::move(placer); }

    // The window is closing: the player's close box, or the desktop closing it.
    std::function<void()> onClose;

protected:
    runtime::Milliseconds now() const override { return AlarmClock::now(); }
    void wakeAt(std::optional<runtime::Milliseconds> when) override { m_alarm.ringAt(when); }
    void placeWindow(Twips left, Twips top) override;
    runtime::WindowFacts windowFacts() const override;
    void showContents(drawing::ContentsOffset offset, Colour ground) override;
    void announce(const std::string& words, Said said) override;
    void messageChanged(const std::string& before) override;
    const CommandButton* focusedButton() const override { return m_view.focusedControl(); }
    void moveFocus(const CommandButton* button) override {
        m_view.focusOn(button, Qt::TabFocusReason);
    }
    // Tells the player, on stderr and in a message box, and ends the program.
    void runTimeError(const RunTimeError& error) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells the form where the window system has the window now.
    void reportWindowPlace();

    Form& m_form;
    FormView& m_view;
    AlarmClock m_alarm;
    std::unique_ptr<WindowPlacer> m_placer;
};

} // namespace front::qt
