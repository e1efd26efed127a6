// keys.cpp: a key held down presses once.
#include "keys.h"

namespace runtime {

const forms::CommandButton* Keys::down(Key key, std::optional<Milliseconds> at,
                                       const forms::CommandButton* focused) {
    if (key == Key::Other) {
        return nullptr;
    }
    Held& held = m_keys[static_cast<std::size_t>(key)];
    // A clock that has wrapped round since the up tells nothing.
    const bool repeat =
        held.down || (at && held.upAt && *at >= *held.upAt && *at - *held.upAt < kRepeatGap);
    held.down = true;
    held.upAt.reset();
    if (repeat || focused == nullptr || !focused->canBeClicked()) {
        return nullptr;
    }
    return focused;
}

void Keys::up(Key key, std::optional<Milliseconds> at) {
    if (key == Key::Other) {
        return;
    }
    m_keys[static_cast<std::size_t>(key)] = {false, at};
}

void Keys::letGo() {
    m_keys = {};
}

} // namespace runtime
