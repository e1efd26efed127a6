// font_warm_up.cpp: fontconfig parses its configuration files once per process,
// some 6 ms of work that Qt would otherwise do just before the window opens.
// Building the window and decoding its pictures take about as long.
#include "font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace app {

FontWarmUp::FontWarmUp() {
    try {
        m_reading = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt reads the configuration itself, a little later.
    }
}

FontWarmUp::~FontWarmUp() {
    wait();
}

void FontWarmUp::wait() {
    if (m_reading.joinable()) {
        m_reading.join();
    }
}

} // namespace app
