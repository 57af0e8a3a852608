#include "app/error_box.h"

#include "app/error_text.h"
#include "app/owner_placement.h"
#include "chart/fonts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace uriage {

void showErrorBox(const QString& message, QWidget* owner)
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    const QPointer<QWidget> active = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();

    QMessageBox box(QMessageBox::Critical, owner ? owner->windowTitle() : QString(), withFullStop(message),
                    QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setFont(makeFont(kGothicFamily, 12)); // the program's window font

    // The box appears centred on its owner: the owner window stands at the
    // centre of the active window's monitor for the time of the box, and at
    // the centre of the primary screen again afterwards.
    if (owner)
        placeOwnerWindow(owner, active);
    box.exec();
    if (owner)
        placeOwnerWindow(owner);

    if (active && active->isVisible())
        active->activateWindow();
    if (focus && focus->isVisible())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace uriage
