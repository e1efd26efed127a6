// shake.cpp: the catastrophe shake, one step a tick for as long as the window is open.
#include "game.h"

#include <algorithm>
#include <limits>

namespace game {

namespace {

constexpr Single kShakeWidth = 100;
constexpr forms::Colour kWhite = 0xFFFFFF;

// What each tick after a flood takes from the hidden water's top and its
// cover, and adds to its height (filling.cpp).
constexpr Single kRise = 5;

constexpr Integer kInPlace = 0;
constexpr Integer kAside = 1;

} // namespace

void Game::ShakeStep(forms::Colour colour) {
    // Read afresh at every step, so a window the player drags shakes around its new place.
    if (m_state.ShakeSide == kInPlace) {
        const Single left = m_form.left();
        const Single top = m_form.top();
        m_form.move(checked(left - kShakeWidth, "Form1.Left - 100"), top);
        m_form.setBackColor(kWhite);
        m_state.ShakeSide = kAside;
    } else if (m_state.ShakeSide == kAside) {
        const Single left = m_form.left();
        const Single top = m_form.top();
        m_form.move(checked(left + kShakeWidth, "Form1.Left + 100"), top);
        m_form.setBackColor(colour);
        m_state.ShakeSide = kInPlace;
    }
}

void Game::repeatShake(std::int64_t pairs) {
    if (!catastropheStruck() || pairs <= 0) {
        return;
    }
    const std::int64_t ticks = 2 * pairs;
    if (m_state.Phase == phase::kHeating) {
        // The scald counts the degrees on, up to the largest it holds.
        constexpr std::int64_t kMost = std::numeric_limits<Integer>::max();
        m_state.Temperature =
            static_cast<Integer>(std::min<std::int64_t>(kMost, m_state.Temperature + ticks));
        return;
    }
    // The flood: the hidden water grows and its top and cover rise, each step
    // rounded to a Single as the tick rounds it; far enough up, a step of 5
    // no longer changes them, and nothing moves any more.
    Single height = m_form.Shp_water.height();
    Single top = m_form.Shp_water.top();
    Single y1 = m_form.Line0.y1();
    Single y2 = m_form.Line0.y2();
    for (std::int64_t i = 0; i < ticks; ++i) {
        const Single h = height + kRise, t = top - kRise, a = y1 - kRise, b = y2 - kRise;
        if (h == height && t == top && a == y1 && b == y2) {
            break;
        }
        height = h;
        top = t;
        y1 = a;
        y2 = b;
    }
    m_form.Shp_water.setHeight(height);
    m_form.Shp_water.setTop(top);
    m_form.Line0.setY1(y1);
    m_form.Line0.setY2(y2);
}

} // namespace game
