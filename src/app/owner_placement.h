#pragma once
// Where the hidden owner window stands. Dialogs owned by it, the error box
// among them, appear centred on it, so it stands at the centre of the primary
// screen, and at the centre of the active window's monitor while the error
// box is shown there.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

namespace uriage {

// activeMonitor: the monitor that the program's active window lies on, if
// there is an active window. The owner window is centred on it, or on the
// primary screen when there is none.
QPoint ownerWindowPosition(const QRect& primaryScreen, const std::optional<QRect>& activeMonitor,
                           const QSize& ownerSize);

// A box owned by the owner window stands centred on it, also where it is
// larger than the owner window.
QPoint ownedBoxPosition(const QRect& owner, const QSize& box);

// Moves the owner window by the rule above, with the screens as they are now,
// and puts it on that screen, where the toolkit keeps the boxes it owns.
void placeOwnerWindow(QWidget* owner, const QWidget* activeWindow = nullptr);

} // namespace uriage
