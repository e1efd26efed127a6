// font_warm_up.h: reading the system's font configuration on the second core
// while the window is built, so that its first words are not kept waiting.
#pragma once

#include <thread>

namespace app {

// Starts reading at once. wait() before Qt is first asked about fonts: until
// then the reading has the configuration to itself, and none of it is done
// twice. Not before Qt has connected to the display, whose own threads and
// the X server want the second core while it does.
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

} // namespace app
