#include "app/error_box.h"

#include "app/error_text.h"
#include "windows/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
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

    // The box stands on the monitor of the active window.
    if (active) {
        QScreen* monitor = QGuiApplication::screenAt(active->frameGeometry().center());
        if (monitor && monitor != (owner ? owner->screen() : QGuiApplication::primaryScreen())) {
            box.adjustSize();
            box.move(centredOn(monitor->geometry(), box.size()));
        }
    }
    box.exec();

    if (active && active->isVisible())
        active->activateWindow();
    if (focus && focus->isVisible())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace uriage
