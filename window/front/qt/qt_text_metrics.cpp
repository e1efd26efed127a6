// qt_text_metrics.cpp: auto-sized labels measured with Qt's font metrics.
#include "qt_text_metrics.h"

#include "form_view.h"
#include "utf8.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace front::qt {

TextExtent QtTextMetrics::measure(std::string_view caption, float points, bool bold) const {
    const QFontMetricsF metrics(FormView::formFont(points, bold));
    double widest = 0;
    int lines = 0;
    for (std::string_view line : splitLines(caption)) {
        const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        widest = std::max(widest, metrics.horizontalAdvance(text));
        ++lines;
    }
    // A line is one em high, as in the runtime's default font.
    return {toTwips(static_cast<int>(std::ceil(widest))), toTwips(lines * fontPixels(points))};
}

FontExtent QtTextMetrics::fontExtent(float points, bool bold) const {
    const QFontMetricsF metrics(FormView::formFont(points, bold));
    return {metrics.ascent(), metrics.descent()};
}

} // namespace front::qt
