// play.h: one game on the virtual clock, for tests to drive like a player.
#pragma once

#include "form1.h"
#include "game.h"
#include "headless_runtime.h"

struct Play {
    forms::Form1 form;
    game::Game game{form};
    front::headless::HeadlessRuntime runtime{form, game};

    Play() { runtime.start(); }

    const game::GameState& state() const { return game.state(); }
    const std::string& message() const { return form.Lbl_msg.caption(); }

    bool click(forms::CommandButton& button) { return runtime.click(button); }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            runtime.tick();
        }
    }
    // Opens the tap and lets it run `count` ticks.
    void fillFor(int count) {
        click(form.Command1);
        ticks(count);
    }
    // Fills to 135 + 5 × fillTicks twips, closes the tap and heats to `degrees`.
    void heatTo(int fillTicks, int degrees) {
        fillFor(fillTicks);
        click(form.Command1);
        click(form.Command2);
        ticks(degrees);
    }
};
