// announcements.cpp: each new message once, the greeting when the window is first active.
#include "announcements.h"

#include "accessible_tree.h"

namespace runtime {

Announcements::Announcements(const forms::Form& form) : m_message(messageLabel(form)) {}

std::optional<std::string> Announcements::captionChanged(const forms::Label& label) {
    std::string words = spokenText(label.caption());
    if (&label != m_message || words == m_latest) {
        return std::nullopt;
    }
    m_latest = std::move(words);
    m_latestTold = m_shown;
    if (!m_latestTold) {
        return std::nullopt;
    }
    return m_latest;
}

std::optional<std::string> Announcements::windowShown() {
    m_shown = true;
    // Before the first activation the greeting waits for it.
    if (!m_activated || m_latestTold || m_latest.empty()) {
        return std::nullopt;
    }
    m_latestTold = true;
    return m_latest;
}

void Announcements::windowHidden() {
    m_shown = false;
}

std::optional<std::string> Announcements::windowActivated() {
    m_shown = true;
    if (m_activated) {
        return std::nullopt;
    }
    m_activated = true;
    if (m_latestTold || m_latest.empty()) {
        return std::nullopt;
    }
    m_latestTold = true;
    return m_latest;
}

} // namespace runtime
