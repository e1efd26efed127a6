// page.h: what the core asks of the web page it runs in. The page hands
// these over as `page` when it creates the module.
#pragma once

#include <optional>
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

} // namespace front::web::page
