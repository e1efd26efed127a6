// qt_text_metrics.h: captions measured in the font the view draws them in.
#pragma once

#include "text_metrics.h"

#include <QFontMetricsF>

#include <optional>

namespace forms {

class QtTextMetrics : public TextMetrics {
public:
    TextExtent measure(std::string_view caption, float points, bool bold) const override;

private:
    const QFontMetricsF& metricsFor(float points, bool bold) const;

    // The last font asked for: the message changes its font far less often
    // than its words.
    struct Measured {
        float points;
        bool bold;
        QFontMetricsF metrics;
    };
    mutable std::optional<Measured> m_last;
};

} // namespace forms
