#pragma once
// The error message box: the program's one way of reporting a failure.
#include <QString>

class QWidget;

namespace uriage {

// Shows the message (full-stop rule applied, as plain text) under the owner
// window's current title, with the stop icon and one OK button, modal for the
// whole program. Returns when the user closes it; the window that was active
// and the control that had the focus get them back.
void showErrorBox(const QString& message, QWidget* owner);

} // namespace uriage
