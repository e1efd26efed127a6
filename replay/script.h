// script.h: yopo-headless, a whole game played from a script on a virtual clock.
#pragma once

#include "command_line.h"

#include <iosfwd>

namespace replay {

// Exit statuses of a script run.
constexpr int kScriptDone = runtime::exitCode(runtime::ExitStatus::Played);
constexpr int kScriptRunTimeError = runtime::exitCode(runtime::ExitStatus::RunTimeError);
constexpr int kScriptBadLine = runtime::exitCode(runtime::ExitStatus::Usage);

// The most ticks one line may deliver: 58 days of the shake at 50 ms, some
// ten seconds of replay.
constexpr long long kMostTicksPerLine = 100'000'000;

// Plays one game from the commands read from `in`, one a line:
//   click NAME   the player clicks Command1, Command2 or Command3
//   tick [N]     on to Timer1's next tick and deliver it, N times
//   wait MS      on MS milliseconds, delivering every tick due by then
//   drag DX DY   the player drags the window by DX, DY twips
//   state        print the state as one line of JSON
//   save FILE    keep the bath under way in FILE, as the game keeps it
//   restore FILE take up the bath kept in FILE in a fresh window, as the
//                next start of the game would, no time having passed
// Blank lines and lines starting with # are skipped.
//
// No line may deliver more than mostTicks ticks: after a flood or a scald the
// timer ticks for ever, so "tick N" with a larger N is a bad line, and a wait
// that comes to the limit stops the run as one.
int runScript(std::istream& in, std::ostream& out, std::ostream& err,
              long long mostTicks = kMostTicksPerLine);

} // namespace replay
