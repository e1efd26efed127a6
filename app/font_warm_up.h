// font_warm_up.h: reading the system's font configuration on a second core
// while Qt connects to the display, so that the window's first words are not
// kept waiting for it.
#pragma once

#include <thread>

namespace yopo {

// Starts reading at once. wait() before Qt is first asked about fonts: until
// then the reading has the configuration to itself, and none of it is done twice.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    void wait();

private:
    std::thread m_reading;
};

} // namespace yopo
