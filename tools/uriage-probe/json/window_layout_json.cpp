#include "json/window_layout_json.h"

#include <QAbstractButton>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace uriage::probe {
namespace {

QString caption(const QWidget& control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->text();
    return {};
}

} // namespace

QJsonObject windowLayoutJson(const QWidget& window)
{
    QJsonArray controls;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || !control->isVisibleTo(&window))
            continue;
        const QPoint topLeft = control->mapTo(&window, QPoint(0, 0));
        controls.append(QJsonObject{
            {QStringLiteral("name"), control->objectName()},
            {QStringLiteral("class"), QString::fromLatin1(control->metaObject()->className())},
            {QStringLiteral("text"), caption(*control)},
            {QStringLiteral("rect"), QJsonArray{topLeft.x(), topLeft.y(), control->width(), control->height()}}});
    }
    return QJsonObject{{QStringLiteral("title"), window.windowTitle()},
                       {QStringLiteral("client"), QJsonArray{window.width(), window.height()}},
                       {QStringLiteral("controls"), controls}};
}

} // namespace uriage::probe
