// headless_runtime.h: the forms runtime without a screen, on a virtual clock.
#pragma once

#include "form.h"
#include "runtime.h"

#include <cstdint>
#include <map>

namespace forms {

// Runs a form's events as the real window would, but time passes only when
// told to, so a 41-minute game takes a blink.
class HeadlessRuntime : public Runtime, private FormObserver {
public:
    using Milliseconds = std::int64_t;

    // The screen the window is centred on, in pixels.
    static constexpr int kScreenWidth = 1920;
    static constexpr int kScreenHeight = 1080;

    HeadlessRuntime(Form& form, FormEvents& events);
    ~HeadlessRuntime() override;

    // Creates the window: Form_Load, then shown centred on the screen.
    void start();

    Milliseconds clock() const { return m_clock; }

    // The player clicks a button; false if it could not be clicked.
    bool click(const CommandButton& button);
    // Moves the clock to the next tick of any timer and delivers it; false
    // if no timer is ticking.
    bool tick();
    // Moves the clock on, delivering every tick due up to and including the new time.
    void wait(Milliseconds milliseconds);
    // The player drags the window by (dx, dy) twips.
    void drag(Twips dx, Twips dy);

protected:
    void runTimeError(const RunTimeError& error) override;

private:
    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property) override {}
    const Timer* nextTimer() const;
    void deliver(const Timer& timer);

    Form& m_form;
    Milliseconds m_clock = 0;
    // When each ticking timer falls due next.
    std::map<const Timer*, Milliseconds> m_due;
};

} // namespace forms
