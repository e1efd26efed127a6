// state_json.h: one game's state as a line of JSON, for yopo-headless.
#pragma once

#include "game.h"

#include <cstdint>
#include <string>

namespace replay {

// The clock, the game's variables and every property the game changes.
std::string stateJson(std::int64_t clockMs, const game::GameState& state, const forms::Form1& form);

} // namespace replay
