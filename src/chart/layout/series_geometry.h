#pragma once
// Where a series' points, segments and markers go on screen, worked out apart
// from painting: which points are drawn, their pixel positions, the skip of
// positions far outside the screen, the lead-in after a zoom, and the order in
// which segments and markers are laid down.
#include "chart/layout/projection.h"
#include "chart/layout/series_frame.h"
#include "chart/model/chart_config.h"

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace uriage::chart {

class Series;

// Rounds a floating-point pixel position to the nearest whole pixel (halves
// to even), or nothing when either coordinate lies outside -32766 ... 32766
// or is not a number. The test comes before the conversion to int.
std::optional<QPoint> pixelPosition(double x, double y);

// A 3-D ribbon segment's corners: from and to at the front depth of the
// slot, then to and from at its back depth.
QPolygon ribbonPolygon(QPoint from, QPoint to, DepthSlot slot);

// Every pixel a segment may touch, drawn with a pen penWidth wide (0: one
// pixel): the flat line, or the 3-D ribbon with its outline.
QRect segmentReach(QPoint from, QPoint to, DepthSlot slot, int penWidth);

// A segment rises more steeply than the depth direction (45 degrees on screen).
bool risesSteeply(QPoint from, QPoint to);

struct DrawnPoint {
    std::size_t index = 0;            // point index in the series
    QPoint position;
};

// One step of drawing a series' lines and markers, in painting order.
struct SeriesStep {
    enum class Kind { Segment, Marker };
    Kind kind = Kind::Segment;
    QPoint from;                      // segment start, or the marker's centre
    QPoint to;                        // segment end (segments only)
    bool steep = false;               // segment rises more steeply than 45 degrees
    std::size_t index = 0;            // marker: its point index
};

struct SeriesGeometry {
    std::size_t firstDrawn = 0;       // the drawn index range [firstDrawn, endDrawn)
    std::size_t endDrawn = 0;
    std::optional<QPoint> leadInStart; // start of the lead-in segment after a zoom
    std::vector<DrawnPoint> points;   // drawn points that were not skipped, in order
    std::vector<SeriesStep> steps;
};

// The index range of the points drawn with the bottom axis range in force:
// all of them when it covers every point, else from the first point at or
// above the minimum up to the first point at or above the maximum.
std::pair<std::size_t, std::size_t> drawnRange(const Series& series, double xMinimum, double xMaximum);

// Pixel position of point i before rounding (null points at value 0).
std::pair<double, double> pointPixel(const Series& series, std::size_t i, const SeriesFrame& frame);

SeriesGeometry seriesGeometry(const Series& series, const SeriesFrame& frame);

} // namespace uriage::chart
