// arithmetic.h: the runtime's checked arithmetic. An Integer that leaves its
// 16 bits, or a floating-point step that divides by zero, overflows or goes
// invalid, is a run-time error, never a wrong number.
#pragma once

#include "run_time_error.h"

#include <cstdint>
#include <string_view>

namespace game {

using Integer = std::int16_t; // the runtime's 16-bit Integer
using Long = std::int32_t;    // and its 32-bit Long
using Single = float;

// Integer + Integer, checked.
Integer add(Integer a, Integer b, std::string_view what);
// Integer - Integer, checked.
Integer subtract(Integer a, Integer b, std::string_view what);
// Integer × Integer, checked.
Integer multiply(Integer a, Integer b, std::string_view what);

// A floating-point result, passed on only if it is finite.
double checked(double value, std::string_view what);
Single checked(Single value, std::string_view what);
// a / b in double precision, with the division-by-zero check.
double divide(double a, double b, std::string_view what);

// Rounds to the nearest Long, ties to even, with the overflow check.
Long toLong(double value, std::string_view what);

} // namespace game
