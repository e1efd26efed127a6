// page.h: what the core asks of the web page it runs in. The page hands
// these over as `page` when it creates the module.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace front::web::page {

// The page's monotonic clock, performance.now(), in milliseconds.
double now();

// Calls the module's wake at `when` on that clock, or as soon after as the
// browser lets it; never if nullopt. Each call replaces the one before.
void wakeAt(std::optional<double> when);

// How far one line of text advances in the game's face at `pixels` CSS
// pixels to the em, as the page's canvas measures it.
double advance(std::string_view line, int pixels, bool bold);

// The bath kept in the page's storage, at most `most` bytes of it; none if
// nothing is kept.
std::optional<std::string> fetchBath(std::size_t most);
// Keeps the record in place of the one before; false if the storage refused.
bool storeBath(std::string_view bytes);
// Nothing kept any more.
void dropBath();
// The kept record could not be read: moved out of the next start's way.
void setAsideBath();
// One line on the page's console.
void say(std::string_view line);
// The wall clock, Date.now(), in milliseconds since 1970.
double wallNow();

} // namespace front::web::page
