// window_place.h: where the game's window stands, kept apart from the window system's late word.
#pragma once

#include "units.h"

#include <cstddef>
#include <deque>

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

    // How many of the game's moves the window system has not answered yet.
    std::size_t unanswered() const;

    // So many of the latest moves are remembered; an answer later than that
    // is taken for the player's.
    static constexpr std::size_t kRemembered = 8;

private:
    struct Move {
        Point target;
        bool answered = false;
    };
    void answerUpTo(std::deque<Move>::iterator last);

    Point m_where;
    // The latest moves, oldest first.
    std::deque<Move> m_moves;
    // How far from its target the window system puts the window (a frame,
    // say); known once it has answered a move.
    Point m_displacement;
    bool m_displacementKnown = false;
    // The distance of the last report that none of the moves explained from
    // the move it stood nearest to, which is a displacement once seen twice.
    Point m_suspect;
    bool m_suspectSeen = false;
};

} // namespace forms
