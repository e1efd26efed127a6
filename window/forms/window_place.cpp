// window_place.cpp: telling the window system's echoes of the game's moves from the player's own.
#include "window_place.h"

#include <algorithm>
#include <cmath>

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
    const std::optional<Point> before = m_lastReport;
    const std::optional<Point> answeredBefore = m_lastAnswered;
    m_lastReport = report;
    const auto oldest = std::find_if(m_moves.begin(), m_moves.end(),
                                     [](const Move& move) { return !move.answered; });
    // The window went as far as the game's next move did from the move
    // answered before, so it follows the moves, if a frame's width apart:
    // the window system's own way, which may be new (a frame it adds or
    // changes). A drag goes its own way. Asked first, since a report apart
    // may stand exactly on a later move.
    if (oldest != m_moves.end() && before && answeredBefore && *answeredBefore != oldest->target &&
        report - *before == oldest->target - *answeredBefore &&
        withinAFrame(report - oldest->target)) {
        m_displacement = report - oldest->target;
        m_displacementKnown = true;
        answerUpTo(oldest);
        return false;
    }
    // An echo: where the window system was to put one of the moves. It
    // carries them out in order and may report several at once, so the
    // report answers the earliest move on its way that it fits, and every
    // move before. One that fits only moves answered already is a late copy
    // of an answer, and tells nothing new.
    const auto fits = [&](const Move& move) { return report == move.target + m_displacement; };
    if (const auto echoed = std::find_if(oldest, m_moves.end(), fits); echoed != m_moves.end()) {
        m_displacementKnown = true;
        answerUpTo(echoed);
        return false;
    }
    if (std::any_of(m_moves.begin(), oldest, fits)) {
        return false;
    }
    if (oldest != m_moves.end()) {
        // Still where it stood, as when the window system holds the window
        // for the player: the move came to nothing, and tells nothing.
        const bool stayed = before == report;
        // The first answer of all tells how far apart this window system
        // puts the window.
        const bool first = !m_displacementKnown && withinAFrame(report - oldest->target);
        if (first) {
            m_displacement = report - oldest->target;
            m_displacementKnown = true;
        }
        answerUpTo(oldest);
        if (stayed || first) {
            return false;
        }
    }
    // Nothing the game did explains it: the window was opened there, or the
    // player has moved it. The game reads it as the place it would send the
    // window to, to have it there. Earlier moves are still remembered, so
    // that their answers, when they come, do not count as the player's.
    m_where = report - m_displacement;
    return true;
}

bool WindowPlace::withinAFrame(Point apart) {
    return std::abs(apart.left) <= kWidestFrame && std::abs(apart.top) <= kWidestFrame;
}

void WindowPlace::answerUpTo(const std::deque<Move>::iterator& last) {
    const auto end = last == m_moves.end() ? last : std::next(last);
    for (auto move = m_moves.begin(); move != end; ++move) {
        move->answered = true;
        m_lastAnswered = move->target;
    }
}

} // namespace forms
