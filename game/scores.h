// scores.h: how a bath is scored, with the runtime's Variant arithmetic.
#pragma once

#include "variant.h"

namespace game {

// From the water level in twips: always a Single.
Variant waterScore(Single level);
// From the degrees reached: an Integer in the good band, a Double otherwise.
Variant heatScore(Integer degrees);
// Through a single-precision water quotient, so it can fall one short of
// the exact product.
Long totalScore(const Variant& water, const Variant& heat);
// Both scores over their marks.
bool isGoodBath(const Variant& water, const Variant& heat);

} // namespace game
