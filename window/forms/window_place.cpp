// window_place.cpp: telling the window system's echoes of the game's moves from the player's own.
#include "window_place.h"

#include <algorithm>

namespace forms {

namespace {

WindowPlace::Point operator+(WindowPlace::Point a, WindowPlace::Point b) {
    return {a.left + b.left, a.top + b.top};
}
WindowPlace::Point operator-(WindowPlace::Point a, WindowPlace::Point b) {
    return {a.left - b.left, a.top - b.top};
}

} // namespace

void WindowPlace::sent(Point target) {
    m_where = target;
    m_moves.push_back({target});
    if (m_moves.size() > kRemembered) {
        m_moves.pop_front();
    }
}

bool WindowPlace::reported(Point report) {
    // An echo: where the window system was to put one of the remembered
    // moves. It may be late, and stand for several moves reported at once,
    // so it answers that move and every earlier one. The latest move there
    // is taken, as a report speaks of the last move carried out.
    for (auto move = m_moves.end(); move != m_moves.begin();) {
        --move;
        if (report == move->target + m_displacement) {
            answerUpTo(move);
            m_displacementKnown = true;
            m_suspectSeen = false;
            return false;
        }
    }
    // The window system may have put the window apart from where it was
    // sent: the first answer tells how far, and afterwards a new distance
    // counts once it is seen twice running, so that a frame the window
    // system adds or changes is learnt without the shake wandering off by it.
    const auto oldest = std::find_if(m_moves.begin(), m_moves.end(),
                                     [](const Move& move) { return !move.answered; });
    if (oldest != m_moves.end()) {
        const Point apart = report - oldest->target;
        if (!m_displacementKnown || (m_suspectSeen && apart == m_suspect)) {
            m_displacement = apart;
            m_displacementKnown = true;
            m_suspectSeen = false;
            answerUpTo(oldest);
            return false;
        }
        m_suspect = apart;
        m_suspectSeen = true;
    }
    // Nothing the game did explains it: the window was opened there, or the
    // player has moved it, and that overrides every move still on its way.
    m_where = report;
    answerUpTo(m_moves.end());
    return true;
}

std::size_t WindowPlace::unanswered() const {
    return static_cast<std::size_t>(std::count_if(m_moves.begin(), m_moves.end(),
                                                  [](const Move& move) { return !move.answered; }));
}

void WindowPlace::answerUpTo(std::deque<Move>::iterator last) {
    const auto end = last == m_moves.end() ? last : std::next(last);
    for (auto move = m_moves.begin(); move != end; ++move) {
        move->answered = true;
    }
}

} // namespace forms
