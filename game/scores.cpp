// scores.cpp: the three scores of a judged bath.
#include "scores.h"

#include <cmath>

namespace game {

namespace {

// Water: below the advised level the score climbs slowly, in the good
// band it is generous, and past it it falls away steeply.
constexpr Single kLowBandTop = 1455;
constexpr Single kHighBandFrom = 1696;
constexpr double kHighBandPivot = 1694;

// Heat: only 41 to 49 degrees is a good heat.
constexpr Integer kGoodHeatFrom = 41;
constexpr Integer kGoodHeatTo = 49;
constexpr Integer kGoodHeatPoints = 250;
constexpr Integer kHotPivot = 40;

constexpr double kGoodWater = 20000;
constexpr double kGoodHeat = 10000;

} // namespace

Variant waterScore(Single level) {
    const double h = level;
    double score;
    if (h <= kLowBandTop) {
        score = std::floor(divide(h, 50, "H / 50")) * 280;
    } else if (h < kHighBandFrom) {
        score = h * 15;
    } else {
        const double perSixty = divide(h, 60, "H / 60");
        score = std::floor(divide(checked(perSixty * 3000, "H / 60 * 3000"), h - kHighBandPivot,
                                  "H / 60 * 3000 / (H - 1694)"));
    }
    return Variant::single(checked(static_cast<Single>(score), "WaterScore"));
}

Variant heatScore(Integer degrees) {
    if (degrees >= kGoodHeatFrom && degrees <= kGoodHeatTo) {
        return Variant::integer(multiply(degrees, kGoodHeatPoints, "Temperature * 250"));
    }
    if (degrees <= kHotPivot) {
        return Variant::real(std::floor(divide(degrees, 3, "Temperature / 3")) * 300);
    }
    const Integer overPivot = subtract(degrees, kHotPivot, "Temperature - 40");
    const double perThirty = divide(degrees, 30, "Temperature / 30");
    return Variant::real(std::floor(divide(checked(perThirty * 25000, "Temperature / 30 * 25000"),
                                           overPivot, "/ (Temperature - 40)")));
}

Long totalScore(const Variant& water, const Variant& heat) {
    // An Integer times 60 leaves 16 bits and carries on as a Long; a
    // Double stays a Double. Either way the value is exact in a double.
    const double p = heat.type() == Variant::Type::Integer
                         ? static_cast<double>(static_cast<Long>(heat.value()) * 60)
                         : checked(heat.value() * 60, "HeatScore * 60");
    const double q = divide(p, 6, "HeatScore * 60 / 6");
    // A Single over an Integer stays a Single: this is where the total can
    // lose its last point.
    const Single r = checked(static_cast<Single>(water.value()) / 1000.0f, "WaterScore / 1000");
    const double s = checked(q * static_cast<double>(r), "total");
    return toLong(std::floor(s), "TotalScore");
}

bool isGoodBath(const Variant& water, const Variant& heat) {
    return water.value() > kGoodWater && heat.value() > kGoodHeat;
}

} // namespace game
