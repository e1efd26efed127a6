// announcements.h: when screen readers are asked to speak what the master
// says. Each front end reports what happens to the window; this answers
// with the words to announce now, or nothing.
#pragma once

#include "form.h"

#include <optional>
#include <string>

namespace runtime {

class Announcements {
public:
    // Follows the form's message label.
    explicit Announcements(const forms::Form& form);

    // A label's caption changed. New words are announced at once once the
    // window is on the screen; the same words again are no news, so a flood
    // or a scald that writes its message at every shake step is heard once.
    std::optional<std::string> captionChanged(const forms::Label& label);
    // The window is on the screen. Seen again after it was hidden, it says
    // the latest words that came while nobody could see it, if any.
    std::optional<std::string> windowShown();
    // The window is hidden (a page behind another tab): new words wait, and
    // only the latest is said once it is seen again.
    void windowHidden();
    // The window became the active one. The first time, the message written
    // before anyone could hear it (the greeting Form_Load writes before the
    // window is shown) is announced, unless it already was.
    std::optional<std::string> windowActivated();

    // The latest message as screen readers read it, announced or waiting
    // for the window; empty before the first.
    const std::string& latest() const { return m_latest; }

private:
    const forms::Label* m_message;
    std::string m_latest;
    bool m_latestTold = false;
    bool m_shown = false;
    bool m_activated = false;
};

} // namespace runtime
