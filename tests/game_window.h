// game_window.h: the game in a real window, for the widget tests.
#pragma once

#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "qt_runtime.h"

#include <QImage>
#include <QPushButton>

struct GameWindow {
    forms::Form1 form;
    yopo::Game game{form};
    forms::FormView view{form};
    forms::QtRuntime runtime{form, game, view};

    enum class Clock { Running, Held };
    explicit GameWindow(Clock clock = Clock::Running) {
        // A held clock runs ten thousand times slower: only the ticks a test delivers come.
        if (clock == Clock::Held) {
            runtime.setTimeScale(1e-4);
        }
        runtime.start();
    }
    QImage picture() { return view.grab().toImage(); }
    QPushButton* button(const forms::CommandButton& control) const { return view.button(control); }
};
