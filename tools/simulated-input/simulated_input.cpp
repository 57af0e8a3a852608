#include "simulated_input.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace uriage::simulated {

void typeInto(QLineEdit* edit, const QString& text)
{
    if (!edit)
        return;
    edit->clear();
    if (text.isEmpty())
        return;
    // Committed input-method text reaches the box whatever its characters.
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
}

void click(QPushButton* button)
{
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QMouseEvent down(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &up);
}

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

void drag(QWidget* widget, Qt::MouseButton button, QPoint from, const std::vector<QPoint>& path, QPoint to)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, button, button);
    for (const QPoint& at : path)
        sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, button);
    sendMouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

} // namespace uriage::simulated
