// qt_text_metrics.cpp: auto-sized labels measured with Qt's font metrics.
#include "qt_text_metrics.h"

#include "form_view.h"

#include <QFontMetricsF>

namespace front::qt {

double QtTextMetrics::advance(std::string_view line, float points, bool bold) const {
    return QFontMetricsF(FormView::formFont(points, bold))
        .horizontalAdvance(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
}

FontExtent QtTextMetrics::fontExtent(float points, bool bold) const {
    const QFontMetricsF metrics(FormView::formFont(points, bold));
    return {metrics.ascent(), metrics.descent()};
}

} // namespace front::qt
