// game_window.h: the game in a real window, for the widget tests.
#pragma once

#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "qt_runtime.h"

#include <QColor>
#include <QImage>
#include <QPushButton>

// Colours the window's pixels are checked against.
inline const QColor kWhite(255, 255, 255);
inline const QColor kBrown(0x80, 0x40, 0x40);
inline const QColor kWater(0xC0, 0xFF, 0xFF);

struct GameWindow {
    forms::Form1 form;
    game::Game game{form};
    front::qt::FormView view{form};
    front::qt::QtRuntime runtime{form, game, view};

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
