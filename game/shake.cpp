// shake.cpp: the catastrophe shake, one step a tick for as long as the window is open.
#include "game.h"

namespace yopo {

namespace {

constexpr Single kShakeWidth = 100;
constexpr forms::Colour kWhite = 0xFFFFFF;

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

} // namespace yopo
