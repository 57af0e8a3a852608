#pragma once
// What a user does to a chart window's filter panel, as events: typing into
// an edit box and clicking a button with the mouse.
#include <QString>

class QLineEdit;
class QPushButton;

namespace uriage::simulated {

// Replaces the box's text by what typing `text` into an emptied box leaves.
void typeInto(QLineEdit* edit, const QString& text);

// A left-button press and release in the middle of the button.
void click(QPushButton* button);

} // namespace uriage::simulated
