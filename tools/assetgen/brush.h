#pragma once

#include <QPainterPath>
#include <QPointF>

#include <vector>

namespace assetgen {

// One brush stroke: the pen runs along spine, its width going from startWidth to
// endWidth with `belly` added at the middle (negative for a stroke that thins as
// the brush lifts a little mid-way). The ends are round.
struct BrushStroke {
    QPainterPath spine;
    double startWidth = 1;
    double endWidth = 1;
    double belly = 0;
};

// Straight or gently bowed spine from a to b; bow pushes the middle sideways
// (positive is to the left of the direction of travel, in y-down coordinates).
QPainterPath spineFrom(QPointF a, QPointF b, double bow = 0);

// The shapes whose union is the stroke: its body and the two round ends. They
// are kept apart because one path holding them all could cancel out where they
// overlap with opposite windings.
std::vector<QPainterPath> strokeShapes(const BrushStroke& stroke);

// A tilted ellipse, for where the brush is pressed down (start of a stroke, a
// corner).
QPainterPath pressMark(QPointF centre, double width, double height, double degrees);

} // namespace assetgen
