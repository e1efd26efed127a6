// headless_runtime.h: the forms runtime without a screen, on a virtual clock.
#pragma once

#include "form.h"
#include "runtime.h"

#include <cstdint>
#include <limits>

namespace front::headless {

using forms::CommandButton;
using forms::Form;
using forms::FormEvents;
using forms::kTwipsPerPixel;
using forms::RunTimeError;
using forms::Twips;

// Runs a form's events as the real window would, but time passes only when
// told to, so a 41-minute game takes a blink.
class HeadlessRuntime : public runtime::Runtime {
public:
    using Milliseconds = runtime::Milliseconds;

    // The screen the window is centred on, in pixels.
    static constexpr int kScreenWidth = 1920;
    static constexpr int kScreenHeight = 1080;

    HeadlessRuntime(Form& form, FormEvents& events);
    ~HeadlessRuntime() override;

    // Creates the window: Form_Load, then shown centred on the screen.
    void start();

    Milliseconds clock() const { return m_clock; }
    // A bath taken up again on this clock: it stands where the record was
    // made, and no time has passed since.
    void setClock(Milliseconds clock) { m_clock = clock; }

    // The player clicks a button; false if it could not be clicked.
    bool click(const CommandButton& button);
    // Moves the clock to the next tick of any timer and delivers it; false
    // if no timer is ticking.
    bool tick();
    // How a wait ended.
    enum class Waited {
        Done,         // the clock stands at the new time
        Refused,      // negative, or past the end of the clock: the clock stays
        TooManyTicks, // stopped after mostTicks ticks, short of the new time
    };
    // Moves the clock on, delivering every tick due up to and including the
    // new time, but no more than mostTicks of them: once a catastrophe
    // strikes, the timer ticks for ever, and a long wait would never end.
    Waited wait(Milliseconds milliseconds,
                std::int64_t mostTicks = std::numeric_limits<std::int64_t>::max());
    // The player drags the window by (dx, dy) twips; false, and the window
    // stays, if that would take it where no screen reaches.
    bool drag(Twips dx, Twips dy);

    // The virtual clock runs out after some 146 million years, so that adding
    // an interval to it can never overflow.
    static constexpr Milliseconds kEndOfTime = std::numeric_limits<Milliseconds>::max() / 2;
    // A window coordinate is at most 32767 pixels either way, as X11 carries it.
    static constexpr Twips kFarthestPlace = 32767.0f * kTwipsPerPixel;

protected:
    Milliseconds now() const override { return m_clock; }
    void wakeAt(std::optional<Milliseconds> when) override { m_alarm = when; }
    void placeWindow(Twips left, Twips top) override;
    void runTimeError(const RunTimeError&) override {}

private:
    // Moves the clock to the next tick that falls due by `until` and delivers
    // it; false if none does.
    bool tickBy(Milliseconds until);

    Form& m_form;
    Milliseconds m_clock = 0;
    // When the scheduler wants to be woken next.
    std::optional<Milliseconds> m_alarm;
};

} // namespace front::headless
