// flash_limit.cpp: holding each colour of the ground for at least half a second.
#include "flash_limit.h"

namespace runtime {

void FlashLimit::follow(Colour painted, Milliseconds now) {
    if (painted != m_shown) {
        show(painted, now);
    }
}

Colour FlashLimit::limit(Colour painted, Milliseconds now) {
    const bool held = m_changedAt && now - *m_changedAt < kHold;
    if (painted != m_shown && !held) {
        show(painted, now);
    }
    return *m_shown;
}

void FlashLimit::show(Colour colour, Milliseconds now) {
    // The first colour of all is no change: it was there before anything moved.
    if (m_shown) {
        m_changedAt = now;
    }
    m_shown = colour;
}

} // namespace runtime
