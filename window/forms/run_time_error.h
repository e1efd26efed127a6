// run_time_error.h: the error that stops a handler, which the game never catches.
#pragma once

#include <stdexcept>
#include <string>

namespace forms {

// The runtime's numbered errors that the game can meet.
enum class ErrorNumber {
    Overflow = 6,
    DivisionByZero = 11,
    InvalidPropertyValue = 380,
};

// Raised by a refused property operation or a failed arithmetic check. It
// names what failed ("Shp_water.Height", "Temperature + 1") so that the
// player's report can say where.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(ErrorNumber number, std::string where);

    ErrorNumber number() const { return m_number; }
    const std::string& where() const { return m_where; }
    // The runtime's own wording, in Japanese, as the player reads it.
    std::string description() const;
    // The whole report the player reads in the error's message box, the
    // same on every platform.
    std::string report() const;

private:
    ErrorNumber m_number;
    std::string m_where;
};

} // namespace forms
