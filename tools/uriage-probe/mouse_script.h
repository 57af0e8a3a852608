#pragma once
// The mouse script of the window command: a ';'-separated list of
// "left-drag X1 Y1 X2 Y2", "right-drag X1 Y1 X2 Y2", "wheel up|down" and
// "press" (the filter button), in chart-widget pixels.
#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

namespace uriage::probe {

struct MouseStep {
    enum class Kind { LeftDrag, RightDrag, WheelUp, WheelDown, PressFilter };
    Kind kind = Kind::PressFilter;
    QPoint from;                      // drags only
    QPoint to;
};

// The steps in order, or nothing with the problem in *error. Empty entries
// (as after a trailing ';') are skipped.
std::optional<std::vector<MouseStep>> parseMouseScript(const QString& script, QString* error);

// The positions a drag passes through after its press point, at most
// `stride` pixels apart in either direction, ending at `to`.
std::vector<QPoint> dragPath(QPoint from, QPoint to, int stride = 8);

} // namespace uriage::probe
