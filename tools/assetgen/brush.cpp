#include "brush.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

namespace assetgen {

QPainterPath spineFrom(QPointF a, QPointF b, double bow) {
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF left = length > 0 ? QPointF(d.y(), -d.x()) / length : QPointF();
    QPainterPath path(a);
    path.cubicTo(a + d / 3 + left * bow, a + 2 * d / 3 + left * bow, b);
    return path;
}

std::vector<QPainterPath> strokeShapes(const BrushStroke& stroke) {
    // Enough samples that the sides look smooth at several times final size.
    constexpr int kSamples = 48;
    QPolygonF leftSide;
    QPolygonF rightSide;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = static_cast<double>(i) / kSamples;
        const QPointF p = stroke.spine.pointAtPercent(t);
        const QPointF ahead = stroke.spine.pointAtPercent(std::min(1.0, t + 0.01));
        const QPointF behind = stroke.spine.pointAtPercent(std::max(0.0, t - 0.01));
        QPointF tangent = ahead - behind;
        const double len = std::hypot(tangent.x(), tangent.y());
        tangent = len > 0 ? tangent / len : QPointF(1, 0);
        const QPointF normal(-tangent.y(), tangent.x());
        const double width = stroke.startWidth + (stroke.endWidth - stroke.startWidth) * t +
                             stroke.belly * 4 * t * (1 - t);
        leftSide << p + normal * (width / 2);
        rightSide.prepend(p - normal * (width / 2));
    }
    QPainterPath body;
    body.setFillRule(Qt::WindingFill);
    body.addPolygon(leftSide + rightSide);
    body.closeSubpath();
    QPainterPath startCap;
    startCap.addEllipse(stroke.spine.pointAtPercent(0), stroke.startWidth / 2,
                        stroke.startWidth / 2);
    QPainterPath endCap;
    endCap.addEllipse(stroke.spine.pointAtPercent(1), stroke.endWidth / 2, stroke.endWidth / 2);
    return {body, startCap, endCap};
}

QPainterPath pressMark(QPointF centre, double width, double height, double degrees) {
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), width / 2, height / 2);
    QTransform placement;
    placement.translate(centre.x(), centre.y());
    placement.rotate(degrees);
    return placement.map(ellipse);
}

} // namespace assetgen
