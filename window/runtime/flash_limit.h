// flash_limit.h: how fast the window's ground may change colour, so that the
// catastrophe's flashing never endangers a player prone to seizures.
#pragma once

#include "scheduler.h"
#include "units.h"

#include <optional>

namespace runtime {

using forms::Colour;

// After a catastrophe the game repaints the whole window white and then in
// the catastrophe's colour ten times a second. Over an area this large no
// more than three flashes (six changes of colour) in any one second are
// safe, and saturated red is the worst of all. The game paints on as it
// always does; only what the player sees is held back:
//
// - By default a change that counts as half a flash (see flashes) waits
//   until the colour shown has stood kFlashHold: at most five changes in
//   any second on any clock, and at the shake's own pace the scald's red
//   and white each stand a quarter of a second, two flashes a second. The
//   flood's white and light cyan are too close in brightness to count and
//   flash as the game paints them.
// - Where motion is to be reduced, every colour once shown stays kCalmHold
//   at least: the ground turns to the catastrophe's colour at once and then
//   pulses about once a second, plain to see yet calm.
class FlashLimit {
public:
    static constexpr Milliseconds kFlashHold = 200;
    static constexpr Milliseconds kCalmHold = 500;

    // Whether a change of the ground from one colour to the other is half a
    // flash: a change of relative luminance by a tenth of white's or more
    // while the darker colour is below 0.8 of it, or a change to or from a
    // saturated red (red making 80 % of the light or more) that moves the
    // hue by more than 0.2 on the CIE 1976 u'v' chart.
    static bool flashes(Colour from, Colour to);

    // The game's ground is `painted` at `now`; returns the colour to show:
    // the game's, unless the colour shown is still held. `calm` where the
    // player asks for reduced motion.
    Colour limit(Colour painted, Milliseconds now, bool calm);

private:
    std::optional<Colour> m_shown;
    // When the colour shown last changed, if it ever has.
    std::optional<Milliseconds> m_changedAt;
};

} // namespace runtime
