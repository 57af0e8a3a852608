#pragma once
// What a user does to a chart window's filter panel, as events: typing into
// an edit box and clicking a button with the mouse.
#include <QPoint>
#include <QString>
#include <Qt>
#include <vector>

class QLineEdit;
class QPushButton;
class QWidget;

namespace uriage::simulated {

// Replaces the box's text by what typing `text` into an emptied box leaves.
void typeInto(QLineEdit* edit, const QString& text);

// A left-button press and release in the middle of the button.
void click(QPushButton* button);

// A drag with one mouse button in the widget's pixels: a press at `from`, a
// move to each point of `path` with the button held, a release at `to`.
void drag(QWidget* widget, Qt::MouseButton button, QPoint from, const std::vector<QPoint>& path, QPoint to);

} // namespace uriage::simulated
