// bath_record.h: the record of a bath under way, which outlives the program
// that drew it: a reload, a discarded tab, a killed process. Small text, a
// format line first, its length and CRC-32 last; the front ends only store
// and fetch its bytes.
#pragma once

#include "form1.h"
#include "game.h"
#include "scheduler.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace runtime {

// Milliseconds since 1970 on the wall clock: the monotonic clock starts
// again with each run of the program, the wall clock does not.
using WallClock = std::int64_t;

// Everything that decides what the player sees and what comes next: the
// window's variables, every property the game changes, the window's place
// and colour, and Timer1 with its next tick.
struct BathRecord {
    WallClock made = 0;
    game::GameState game;
    forms::Twips left = 0;
    forms::Twips top = 0;
    forms::Colour backColor = 0;
    float fontSize = 0;
    bool fontBold = false;
    std::string message;
    bool command1Enabled = false;
    std::string command1Caption;
    bool command2Enabled = false;
    std::string command2Caption;
    bool command3Visible = false;
    bool timerEnabled = false;
    int interval = 0;
    // How long after `made` the next tick was due, if the timer ran.
    std::optional<Milliseconds> nextTickIn;
    forms::Twips waterTop = 0;
    forms::Twips waterHeight = 0;
    forms::Colour waterColour = 0;
    bool waterVisible = false;
    bool streamDrawn = false;
    forms::Twips line0Y1 = 0;
    forms::Twips line0Y2 = 0;
    bool line0Visible = false;
    bool line1Visible = false;

    friend bool operator==(const BathRecord&, const BathRecord&) = default;
};

// No record is larger: anything longer is refused unread.
constexpr std::size_t kLargestRecord = 4096;

// The bath as it stands now in `form` and `game`.
BathRecord takeBath(const forms::Form1& form, const game::Game& game,
                    std::optional<Milliseconds> nextTickIn, WallClock made);

// Puts the window's variables and every property the game changes back as
// the record has them, through the same property operations the game uses;
// the window's place and Timer1's next tick are the runtime's to restore.
void putBath(const BathRecord& bath, forms::Form1& form, game::Game& game);

// The record's bytes.
std::string writeBath(const BathRecord& bath);

// Why a record was refused, in a few words.
struct Refusal {
    std::string reason;
};

// The record, or why it cannot be trusted: cut short, altered, from an
// unknown format, too large, malformed, or holding anything the game could
// not reach by play. Nothing is taken from a record refused.
std::variant<BathRecord, Refusal> readBath(std::string_view bytes);

// CRC-32 (the one of zip and PNG) of `bytes`.
std::uint32_t crc32(std::string_view bytes);

} // namespace runtime
