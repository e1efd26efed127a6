// bands.h: the game's messages come in bands, each opened by its bound.
#pragma once

#include <cstddef>

namespace game {

// The last band whose bound the value has reached; bands are listed by
// rising bound and the first one takes everything below the second.
template <typename Band, std::size_t N, typename Value>
const Band& bandFor(const Band (&bands)[N], Value value) {
    const Band* reached = &bands[0];
    for (const Band& band : bands) {
        if (value >= band.from) {
            reached = &band;
        }
    }
    return *reached;
}

} // namespace game
