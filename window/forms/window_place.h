// window_place.h: where the game's window stands, kept apart from the window system's late word.
#pragma once

#include "units.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace forms {

// A Move takes effect at once for the game: Left and Top read back what the
// last Move set. The window system carries the move out later, and its
// reports of where the window stands come late, several moves at once, or
// somewhere a little apart (a frame it adds, an edge it clamps to). Only a
// report that none of the game's moves explains is the player's own move
// (a drag), and the window is then where the report says.
class WindowPlace {
public:
    struct Point {
        Twips left = 0;
        Twips top = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };

    // Where the game believes the window stands.
    Point where() const { return m_where; }

    // The game has sent the window to `target`, on whole pixels.
    void sent(Point target);

    // The window system says the window stands at `report`, on whole pixels.
    // Returns whether the game's window was found moved by someone else.
    bool reported(Point report);

    // So many of the latest moves are remembered; an answer later than that
    // is taken for the player's.
    static constexpr std::size_t kRemembered = 8;
    // No window system's frame is wider than this, in twips (64 pixels).
    static constexpr Twips kWidestFrame = 64.0f * kTwipsPerPixel;

private:
    struct Move {
        Point target;
        bool answered = false;
    };
    void answerUpTo(const std::deque<Move>::iterator& last);
    static bool withinAFrame(Point apart);

    Point m_where;
    // The latest moves, oldest first.
    std::deque<Move> m_moves;
    // How far from its target the window system puts the window (a frame,
    // say); known once it has answered a move.
    Point m_displacement;
    bool m_displacementKnown = false;
    // The report before, and the target of the last move answered.
    std::optional<Point> m_lastReport;
    std::optional<Point> m_lastAnswered;
};

} // namespace forms
