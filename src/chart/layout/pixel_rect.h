#pragma once
// Rectangles as the layout moves their edges, and as the screen tests need
// them: every pixel from one corner to the other included.
#include <QPoint>
#include <QRect>
#include <algorithm>

namespace uriage::chart {

// A rectangle by its edge coordinates.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // The rectangle from (left, top) to (right, bottom), both corners included.
    QRect corners() const { return QRect(QPoint(left, top), QPoint(right, bottom)); }
    bool operator==(const PixelRect&) const = default;
};

// The rectangle spanned by two corner points in any order, both included.
inline QRect spannedRect(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace uriage::chart
