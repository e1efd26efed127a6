// game.h: ヨポ's state and its five event handlers.
#pragma once

#include "arithmetic.h"
#include "form1.h"
#include "form_events.h"
#include "variant.h"

#include <cstdint>
#include <string>

namespace game {

// What the tub is doing. The game only ever moves forward through these.
namespace phase {
constexpr Integer kNoWater = 0;
constexpr Integer kTapRunning = 1;
constexpr Integer kFilled = 2;
constexpr Integer kHeating = 3; // and, once judged, finished
} // namespace phase

// After a flood or a scald the timer drives the shake: 20 steps a second.
constexpr int kShakeInterval = 50;

// The window's variables: created zeroed with the window, never reset.
struct GameState {
    Integer Phase = phase::kNoWater;
    Integer Temperature = 0;
    Variant WaterScore;
    Variant HeatScore;
    Long TotalScore = 0;
    Integer ShakeSide = 0;

    friend bool operator==(const GameState&, const GameState&) = default;
};

class Game : public forms::FormEvents {
public:
    explicit Game(forms::Form1& form);

    const GameState& state() const { return m_state; }
    // A bath taken up again where it was left: the window's variables as they stood.
    void setState(const GameState& state) { m_state = state; }

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Timer1_Timer();

    // One step of the catastrophe shake: the window jumps aside on white, or
    // back in the catastrophe's colour.
    void ShakeStep(forms::Colour colour);

    // After a flood or a scald, two ticks leave the window and all it shows
    // as they found it; only the hidden water and its cover (the flood) or
    // the count of degrees (the scald) go on. Moves them on by `pairs` such
    // pairs at once, exactly as that many ticks would, for a bath taken up
    // long after the catastrophe. Nothing to do before one.
    void repeatShake(std::int64_t pairs);
    // Whether a flood or a scald has struck.
    bool catastropheStruck() const { return !m_form.Shp_water.visible(); }

private:
    // FormEvents: the runtime's events, to the handlers above.
    void load() override;
    void click(const forms::CommandButton& button) override;
    void tick(const forms::Timer& timer) override;

    // Filling.
    void openTap();
    void closeTap();
    void fillingTick();
    void flood();
    // Heating.
    void startHeating();
    void heatingTick();
    void scald();
    // Judging.
    void refuseWithoutWater();
    void judge();

    // The balloon's two voices: the everyday 9-point one and the 15-point bold alarm.
    void plainFont();
    void alarmFont();

    forms::Form1& m_form;
    GameState m_state;
};

// Joins a message's lines with CR LF, as the balloon shows them.
std::string joinLines(std::initializer_list<std::string_view> lines);

} // namespace game
