// keys.h: which keys press the focused button, and when. Every front end
// reports each key going down and coming up as its platform says, and
// carries out the answer.
#pragma once

#include "form.h"
#include "scheduler.h"

#include <array>
#include <optional>

namespace runtime {

// The keys that can press a button, as every platform's key codes map onto
// them; Tab and the rest are Other.
enum class Key { Space, Enter, Other };

// A key held down presses once. Platforms report a held key's repeats in
// three ways: more downs (Windows, the web), ups and downs marked as repeats,
// or, under X, ups and downs that Qt often leaves unmarked, each pair at one
// and the same moment of the window system's clock. So a down presses only
// a key that was up, and an up followed by a down within the same
// millisecond is a repeat, whatever the platform marks: no hand, nor even a
// program typing for a test, lets a key go and strikes it again as fast.
class Keys {
public:
    // How long a key must have been up for its next down to be a new press.
    static constexpr Milliseconds kRepeatGap = 1;

    // `key` went down at `at`, on the platform's clock for key events
    // (nullopt where the event carries no time, as a synthetic one). Returns
    // the button it presses: the focused one, for Space or Enter, while it
    // can act, and only if the key was not held.
    const forms::CommandButton* down(Key key, std::optional<Milliseconds> at,
                                     const forms::CommandButton* focused);
    // `key` came up at `at`.
    void up(Key key, std::optional<Milliseconds> at);
    // The window lost the keyboard: whatever is let go meanwhile is not
    // reported to it, so every key counts as up.
    void letGo();

private:
    struct Held {
        bool down = false;
        std::optional<Milliseconds> upAt;
    };
    std::array<Held, 2> m_keys{};
};

} // namespace runtime
