// json.cpp: JSON strings and the shortest numbers.
#include "json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace runtime {

namespace {

// Spelled out here because not every C++ library has to_chars for floating
// point (the web build's does not).
template <typename Real>
std::string shortest(Real value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "nan" : value < 0 ? "-inf" : "inf";
    }
    if (value == 0) {
        return std::signbit(value) ? "-0" : "0";
    }
    // The fewest significant digits that read back as the value.
    char scientific[40];
    for (int digits = 1; digits <= std::numeric_limits<Real>::max_digits10; ++digits) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1,
                      static_cast<double>(value));
        const Real back =
            static_cast<Real>(std::is_same_v<Real, float> ? std::strtof(scientific, nullptr)
                                                          : std::strtod(scientific, nullptr));
        if (back == value) {
            break;
        }
    }
    // "-d.ddde+XX" as its sign, its digits and its exponent.
    const std::string text = scientific;
    const std::size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    std::erase(mantissa, '.');
    const int exponent = std::stoi(text.substr(e + 1));
    const int count = static_cast<int>(mantissa.size());
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    } else if (exponent + 1 >= count) {
        // A whole number is written with all its digits, as printf's %f has them.
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", std::abs(static_cast<double>(value)));
        fixed = whole;
    } else {
        fixed = mantissa.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                mantissa.substr(static_cast<std::size_t>(exponent + 1));
    }
    const std::string sign = negative ? "-" : "";
    return sign + (text.size() - sign.size() < fixed.size() ? text.substr(sign.size()) : fixed);
}

} // namespace

std::string jsonString(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    return shortest(value);
}

std::string jsonNumber(float value) {
    return shortest(value);
}

} // namespace runtime
