// flash_limit.h: the window's ground, slowed to a gentle pulse for a player
// whose desktop asks for reduced motion.
#pragma once

#include "scheduler.h"
#include "units.h"

#include <optional>

namespace runtime {

using forms::Colour;

// After a catastrophe the game repaints the whole window white and then in
// the catastrophe's colour ten times a second. Over an area this large no
// more than three flashes in any one second are safe for a player prone to
// seizures, and saturated red is the worst of all. So, where motion is to
// be reduced, a colour once shown stays for at least half a second: the
// ground turns to the catastrophe's colour at once and then, as the game
// goes on repainting, pulses about once a second, a third of that limit,
// plain to see yet calm. The game paints on as it always does; only what
// the player sees is held back.
class FlashLimit {
public:
    // How long a colour once shown stays at least.
    static constexpr Milliseconds kHold = 500;

    // The game's ground is `painted` at `now`, shown as it is.
    void follow(Colour painted, Milliseconds now);
    // The game's ground is `painted` at `now`; returns the colour to show:
    // the game's, unless the colour shown is still held.
    Colour limit(Colour painted, Milliseconds now);

private:
    void show(Colour colour, Milliseconds now);

    std::optional<Colour> m_shown;
    // When the colour shown last changed, if it ever has.
    std::optional<Milliseconds> m_changedAt;
};

} // namespace runtime
