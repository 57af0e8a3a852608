#pragma once
// Writing a chart text. Each text is laid out once per font and kept (see
// the per-font cache): drawing it again reuses its shaped glyphs, pixel for
// pixel what writing it anew gives.
#include <QString>

class QPainter;

namespace uriage::chart {

// Writes a text in the painter's font and pen with its top left corner at
// (x, y) (its baseline the font's ascent below y), without background.
void drawTextAt(QPainter& painter, int x, int y, const QString& text);

} // namespace uriage::chart
