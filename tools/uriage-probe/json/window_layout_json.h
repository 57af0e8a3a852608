#pragma once
// Where a window's controls are, as another program clicking on the window
// needs them: in the window's client pixels.
#include <QJsonObject>

class QWidget;

namespace uriage::probe {

// "title", "client" [w, h] and "controls": one {"name", "class", "text",
// "rect" [x, y, w, h]} for every named control shown in the window (buttons,
// edit boxes, labels, panels, the chart), rect relative to the window's
// client area; "text" is a button's or label's caption, an edit box's text.
QJsonObject windowLayoutJson(const QWidget& window);

} // namespace uriage::probe
