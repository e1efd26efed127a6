// window_show.h: what the player sees of the game's moves and colours of its
// window, wherever the window can or cannot move, and with reduced motion.
#pragma once

#include "drawing.h"
#include "flash_limit.h"
#include "window_place.h"

#include <optional>

namespace runtime {

using Place = forms::WindowPlace::Point;

// What a front end's platform says of its window.
struct WindowFacts {
    // Whether a program may place its own window there: not on Wayland, nor
    // in a web browser.
    bool canMove = true;
    // Where the window system has the window, in twips of its outer top left
    // corner; read only where the window cannot move.
    Place standsAt;
};

// Each front end asks this, whenever the game moves or repaints its window or
// the player's preference changes, what to show, and does just that.
//
// By default the player sees the game's moves exactly: the window goes
// wherever the game sends it, and where it cannot move, what it shows goes
// aside by as far instead, so the catastrophe shake looks the same on every
// desktop; the ground flashes no faster than is safe (see FlashLimit). A
// player who asks the desktop for reduced motion sees the window and its
// contents stand still, and the ground pulse gently in the catastrophe's
// colour. The game itself never knows: it reads back the Left and Top it set
// and paints the colours it always does.
class WindowShow {
public:
    struct Shown {
        // Where to send the real window now; none to leave it where it stands.
        std::optional<Place> moveWindowTo;
        // How far everything the window shows, push buttons too, stands
        // aside from where the layout puts it, in layout pixels.
        drawing::ContentsOffset offset;
        // The colour of the window's ground.
        Colour ground = 0;
    };

    void setReducedMotion(bool reduced) { m_reducedMotion = reduced; }
    bool reducedMotion() const { return m_reducedMotion; }

    // The game has moved its window (a Move): the next decision sends the
    // window after it.
    void gameMoved() { m_moved = true; }

    // What to show, the game's window standing at `game` (the form's Left
    // and Top) on a ground of `painted` (its BackColor). `now` is the front
    // end's monotonic clock, the moment the player sees the answer: a batch
    // of ticks caught up late reaches the screen when it is shown, not when
    // each tick was due, and it is the screen that must not flash.
    Shown decide(Place game, Colour painted, const WindowFacts& window, Milliseconds now);

private:
    bool m_reducedMotion = false;
    bool m_moved = false;
    // Where the window was last sent, and the way back from there when that
    // was a step aside (to the left, as the shake goes): reduced motion
    // switched on mid-shake takes the step back, once, so the window stands
    // home and not aside for good.
    std::optional<Place> m_sentTo;
    std::optional<Place> m_wayBack;
    FlashLimit m_flashes;
};

} // namespace runtime
