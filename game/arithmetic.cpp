// arithmetic.cpp: the checks behind every step the game counts with.
#include "arithmetic.h"

#include <cmath>
#include <limits>
#include <string>

namespace game {

using forms::ErrorNumber;
using forms::RunTimeError;

namespace {

Integer fitInteger(long wide, std::string_view what) {
    if (wide < std::numeric_limits<Integer>::min() || wide > std::numeric_limits<Integer>::max()) {
        throw RunTimeError(ErrorNumber::Overflow, std::string(what));
    }
    return static_cast<Integer>(wide);
}

} // namespace

Integer add(Integer a, Integer b, std::string_view what) {
    return fitInteger(static_cast<long>(a) + b, what);
}

Integer subtract(Integer a, Integer b, std::string_view what) {
    return fitInteger(static_cast<long>(a) - b, what);
}

Integer multiply(Integer a, Integer b, std::string_view what) {
    return fitInteger(static_cast<long>(a) * b, what);
}

double checked(double value, std::string_view what) {
    if (!std::isfinite(value)) {
        throw RunTimeError(ErrorNumber::Overflow, std::string(what));
    }
    return value;
}

Single checked(Single value, std::string_view what) {
    if (!std::isfinite(value)) {
        throw RunTimeError(ErrorNumber::Overflow, std::string(what));
    }
    return value;
}

double divide(double a, double b, std::string_view what) {
    if (b == 0) {
        // Nothing over nothing is the runtime's overflow, anything else over
        // nothing its division by zero.
        throw RunTimeError(a == 0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero,
                           std::string(what));
    }
    return checked(a / b, what);
}

Long toLong(double value, std::string_view what) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Long>::min() &&
          rounded <= std::numeric_limits<Long>::max())) {
        throw RunTimeError(ErrorNumber::Overflow, std::string(what));
    }
    return static_cast<Long>(rounded);
}

} // namespace game
