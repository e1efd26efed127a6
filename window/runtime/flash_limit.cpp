// flash_limit.cpp: which changes of the ground flash, and holding them back.
#include "flash_limit.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace runtime {

namespace {

// A change of relative luminance that counts, and the luminance above
// which neither colour is dark enough for a change to count.
constexpr double kLuminanceStep = 0.1;
constexpr double kBrightEnough = 0.8;
// The share of the light that makes a red saturated, and the move on the
// u'v' chart that makes a change to or from it count.
constexpr double kSaturatedRed = 0.8;
constexpr double kHueStep = 0.2;
// Where black, which has no hue, stands on the chart: on white's point.
constexpr double kWhiteU = 0.1978;
constexpr double kWhiteV = 0.4683;

// One sRGB channel of 0x00BBGGRR as linear light, 0 to 1.
double linear(Colour colour, int shift) {
    const double c = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

struct Light {
    double red, green, blue;
    double luminance() const { return 0.2126 * red + 0.7152 * green + 0.0722 * blue; }
    bool saturatedRed() const {
        const double all = red + green + blue;
        return all > 0 && red / all >= kSaturatedRed;
    }
    // Its place on the CIE 1976 u'v' chart.
    std::pair<double, double> chart() const {
        const double x = 0.4124 * red + 0.3576 * green + 0.1805 * blue;
        const double y = luminance();
        const double z = 0.0193 * red + 0.1192 * green + 0.9505 * blue;
        const double d = x + 15 * y + 3 * z;
        return d > 0 ? std::pair{4 * x / d, 9 * y / d} : std::pair{kWhiteU, kWhiteV};
    }
};

Light lightOf(Colour colour) {
    return {linear(colour, 0), linear(colour, 8), linear(colour, 16)};
}

} // namespace

bool FlashLimit::flashes(Colour from, Colour to) {
    const Light a = lightOf(from);
    const Light b = lightOf(to);
    const double la = a.luminance();
    const double lb = b.luminance();
    if (std::abs(la - lb) >= kLuminanceStep && std::min(la, lb) < kBrightEnough) {
        return true;
    }
    if (!a.saturatedRed() && !b.saturatedRed()) {
        return false;
    }
    const auto [ua, va] = a.chart();
    const auto [ub, vb] = b.chart();
    return std::hypot(ua - ub, va - vb) > kHueStep;
}

Colour FlashLimit::limit(Colour painted, Milliseconds now, bool calm) {
    // The first colour of all is no change: it was there before anything moved.
    if (!m_shown) {
        m_shown = painted;
    }
    if (painted == *m_shown) {
        return painted;
    }
    const Milliseconds hold = calm ? kCalmHold : flashes(*m_shown, painted) ? kFlashHold : 0;
    if (m_changedAt && now - *m_changedAt < hold) {
        return *m_shown;
    }
    m_shown = painted;
    m_changedAt = now;
    return painted;
}

} // namespace runtime
