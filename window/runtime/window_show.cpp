// window_show.cpp: moving the window, its contents or neither, and colouring its ground.
#include "window_show.h"

#include <utility>

namespace runtime {

WindowShow::Shown WindowShow::decide(Place game, Colour painted, const WindowFacts& window,
                                     Milliseconds now) {
    Shown shown;
    const bool moved = std::exchange(m_moved, false);
    shown.ground = m_flashes.limit(painted, now, m_reducedMotion);
    if (m_reducedMotion) {
        // The game's moves are all the shake's: the window stays where it
        // stands, and so does everything in it, once home.
        if (m_wayBack) {
            shown.moveWindowTo = Place{game.left + m_wayBack->left, game.top + m_wayBack->top};
            m_sentTo = shown.moveWindowTo;
            m_wayBack.reset();
        }
        return shown;
    }
    if (window.canMove) {
        if (moved) {
            shown.moveWindowTo = game;
            m_wayBack.reset();
            if (m_sentTo && game.left < m_sentTo->left) {
                m_wayBack = Place{m_sentTo->left - game.left, m_sentTo->top - game.top};
            }
            m_sentTo = game;
        }
    } else {
        // The window never leaves the place the window system gave it, so
        // the distance from there is how far the contents stand aside.
        shown.offset = {forms::toPixels(game.left) - forms::toPixels(window.standsAt.left),
                        forms::toPixels(game.top) - forms::toPixels(window.standsAt.top)};
    }
    return shown;
}

} // namespace runtime
