// start_up.h: what a desktop front end checks before its window opens, said
// in the same words on every platform.
#pragma once

#include "form.h"

#include <functional>
#include <optional>
#include <string>

namespace runtime {

// The form's pictures, its icon first, that `decodes` says do not decode,
// as the one line that tells the player the program is damaged; nullopt if
// every one decodes.
std::optional<std::string> damagedPictures(const forms::Form& form,
                                           const std::function<bool(const std::string&)>& decodes);

// The maintainers' switch, off unless set: YOPO_TIME_SCALE=100 runs every
// timer a hundred times faster, to watch a flood without waiting 41
// minutes. The game itself is unchanged.
std::optional<double> maintainersTimeScale();

} // namespace runtime
