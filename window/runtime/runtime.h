// runtime.h: what every forms runtime shares: raising the form's events one
// at a time, Timer1's clock, what the player sees of the window's moves and
// colours, and stopping the program at the first run-time error. A front end
// only hosts it.
#pragma once

#include "announcements.h"
#include "command_line.h"
#include "form.h"
#include "form_events.h"
#include "keys.h"
#include "run_time_error.h"
#include "scheduler.h"
#include "window_show.h"

#include <functional>
#include <optional>

namespace runtime {

// The exit status of a program stopped by a run-time error, on every platform.
constexpr int kRunTimeErrorStatus = exitCode(ExitStatus::RunTimeError);

// The one line a desktop program writes on its standard error when it stops.
void printRunTimeError(const forms::RunTimeError& error);

class Runtime : private Alarm {
public:
    Runtime(forms::Form& form, forms::FormEvents& events);
    ~Runtime() override;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Each returns whether the event reached its handler: a button that is
    // disabled or hidden raises no click, and after a run-time error nothing
    // is raised any more. Once a handler is over, the focus settles (see
    // settledFocus): the host hears where it goes through moveFocus.
    bool raiseLoad();
    bool raiseClick(const forms::CommandButton& button);
    // Raises one tick at once, as the scheduler does when it falls due; false
    // once the program has stopped.
    bool raiseTick(const forms::Timer& timer);

    // A key went down or came up, as the platform reports it, at `at` on
    // its clock for key events (see Keys). A down raises the click it
    // presses on the focused button, if any; returns whether it did.
    bool keyDown(Key key, std::optional<Milliseconds> at, const forms::CommandButton* focused);
    void keyUp(Key key, std::optional<Milliseconds> at) { m_keys.up(key, at); }
    // The window lost the keyboard.
    void keyboardLost() { m_keys.letGo(); }

    // The front end's alarm went off (see wakeAt): the ticks that time has
    // made due are delivered, at most `most` of them, and the window is
    // placed once for them all. Returns how many were delivered.
    int wake(int most = Scheduler::kTicksPerBatch);

    // For maintainers who want to watch a flood without waiting 41 minutes:
    // every timer runs this many times faster. The game itself is unchanged.
    void setTimeScale(double scale) { m_scheduler.setTimeScale(scale); }

    // Whether the player's desktop asks for reduced motion, as each front end
    // reads it: the window then stands still and its flashes are slowed.
    void setReducedMotion(bool reduced);

    // Called after every click that reached the game and every batch of
    // ticks, once the window shows it: where the bath is kept.
    void setAfterChange(std::function<void()> afterChange) {
        m_afterChange = std::move(afterChange);
    }
    // How long until Timer1's next tick, if it runs: kept with the bath.
    std::optional<Milliseconds> untilNextTick() const;
    // How long `timer` waits between ticks on the front end's clock.
    Milliseconds period(const forms::Timer& timer) const { return m_scheduler.period(timer); }
    // A bath taken up again: the timer's next tick is `in` from now, and
    // `in` is below zero when the bath was left long ago.
    void resumeTimer(const forms::Timer& timer, Milliseconds in);
    // What the front end reports of its window for screen readers (see
    // Announcements): it is on the screen, or hidden; it became the active
    // one.
    void windowShown();
    void windowHidden() { m_announcements.windowHidden(); }
    void windowActivated();
    // What screen readers read of the master's message, and when.
    const Announcements& announcements() const { return m_announcements; }

    // The error that stopped the program, if one did.
    const std::optional<forms::RunTimeError>& error() const { return m_error; }

protected:
    const Scheduler& scheduler() const { return m_scheduler; }

    // What the front end does for the runtime.
    // Its monotonic clock, in milliseconds.
    Milliseconds now() const override = 0;
    // Calls wake() at `when` on that clock, or as soon after as it can;
    // never if nullopt. Each call replaces the one before.
    void wakeAt(std::optional<Milliseconds> when) override = 0;
    // The game has sent the window to (left, top): the window system should
    // put it there. Once a batch of ticks is over, not at each of them, and
    // only where the window can move and the player wants it to.
    virtual void placeWindow(forms::Twips left, forms::Twips top) = 0;
    // What the platform says of the window: whether a program may move it,
    // and where it stands. By default it may.
    virtual WindowFacts windowFacts() const { return {}; }
    // Draws everything the window shows, push buttons too, `offset` layout
    // pixels aside, on a ground of `ground`; a front end without a screen
    // has nothing to draw.
    virtual void showContents(drawing::ContentsOffset offset, forms::Colour ground) {
        (void)offset;
        (void)ground;
    }
    // The button that has the keyboard focus now, or nullptr for the window
    // itself; a front end without a keyboard has none.
    virtual const forms::CommandButton* focusedButton() const { return nullptr; }
    // The focus goes to `button`, or to the window itself for nullptr.
    virtual void moveFocus(const forms::CommandButton* button) { (void)button; }
    // Screen readers should speak `words` now: a new message, or the one
    // written before anyone could hear it (the greeting) once the window is
    // first active, which a host says only after it has told them of the
    // window and its focus.
    enum class Said { News, Greeting };
    virtual void announce(const std::string& words, Said said) {
        (void)words;
        (void)said;
    }
    // The message's text as screen readers read it has changed from `before`
    // to announcements().latest().
    virtual void messageChanged(const std::string& before) { (void)before; }
    // The handler has stopped where it failed and nothing ticks any more:
    // tell the player error.report(), then end with kRunTimeErrorStatus.
    virtual void runTimeError(const forms::RunTimeError& error) = 0;

private:
    template <typename Handler>
    bool raise(Handler&& handler);
    // The game has moved the window or painted its ground.
    void windowChanged(bool moved);
    // The game has written a label's caption.
    void captionChanged(const forms::Label& label);
    // Shows the window as the game has left it, as far as the player wants.
    void showWindow();

    // Hears the game's moves and colours of the window, and its messages.
    class MoveWatcher : public forms::FormObserver {
    public:
        explicit MoveWatcher(Runtime& runtime) : m_runtime(runtime) {}
        void controlChanged(const forms::Control& control, forms::Property property) override {
            if (control.kind() == forms::ControlKind::Label &&
                property == forms::Property::Caption) {
                m_runtime.captionChanged(static_cast<const forms::Label&>(control));
            }
        }
        void formChanged(forms::Property property) override {
            if (property == forms::Property::Left || property == forms::Property::Top) {
                m_runtime.windowChanged(true);
            } else if (property == forms::Property::BackColor) {
                m_runtime.windowChanged(false);
            }
        }

    private:
        Runtime& m_runtime;
    };

    forms::Form& m_form;
    forms::FormEvents& m_events;
    Announcements m_announcements{m_form};
    Scheduler m_scheduler;
    MoveWatcher m_moveWatcher{*this};
    std::optional<forms::RunTimeError> m_error;
    Keys m_keys;
    WindowShow m_show;
    // The game moved or painted the window during a batch of ticks.
    bool m_showPending = false;
    std::function<void()> m_afterChange;
};

} // namespace runtime
