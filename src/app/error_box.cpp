#include "app/error_box.h"

#include "app/error_text.h"
#include "app/owner_placement.h"
#include "windows/fonts.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace uriage {

namespace {

// Centres the box on its owner window when it is shown, with the size it has
// taken for its text by then: the toolkit places it before that.
class CentreOnOwner : public QObject {
public:
    CentreOnOwner(QWidget* box, const QWidget* owner) : QObject(box), owner_(owner) { box->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* box = static_cast<QWidget*>(watched);
            box->move(ownedBoxPosition(owner_->geometry(), box->frameSize()));
        }
        return false;
    }

private:
    const QWidget* owner_;
};

} // namespace

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
    if (owner) {
        placeOwnerWindow(owner, active);
        new CentreOnOwner(&box, owner);
    }
    box.exec();
    if (owner)
        placeOwnerWindow(owner);

    if (active && active->isVisible())
        active->activateWindow();
    if (focus && focus->isVisible())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace uriage
