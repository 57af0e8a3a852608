#include "windows/chart_panel.h"

#include "windows/declared_size.h"
#include "windows/fonts.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace uriage {
namespace {

constexpr int kTop = 8;
constexpr int kEditHeight = 20;
constexpr QSize kButtonSize(75, 25);
constexpr QSize kLabel1Size(69, 16);
constexpr QSize kLabel2Size(17, 16);

QLineEdit* declareEdit(QWidget* parent, const char* name, const DeclaredEdit& place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place.left, kTop, place.width, kEditHeight);
    // No length limit: the toolkit would cut a longer text silently.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

QLabel* declareLabel(QWidget* parent, const char* name, QPoint topLeft, QSize size, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(QRect(topLeft, size));
    label->setFont(makeFont(kGothicFamily, 16, true));
    return label;
}

QPushButton* declareButton(QWidget* parent, const char* name, int left, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(QRect(QPoint(left, kTop), kButtonSize));
    // Neither button is the window's default or cancel button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

ChartPanel buildChartPanel(QWidget* window, const PanelDeclaration& declaration)
{
    ChartPanel p;
    p.panel = new QFrame(window);
    p.panel->setObjectName(QStringLiteral("Panel1"));
    p.panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p.panel->setLineWidth(1);
    p.panel->setFixedHeight(kPanelHeight);

    p.edit1 = declareEdit(p.panel, "Edit1", declaration.edit1);
    p.label1 = declareLabel(p.panel, "Label1", {declaration.label1Left, declaration.label1Top}, kLabel1Size,
                            QStringLiteral("年（西暦）"));
    if (declaration.edit2) {
        p.edit2 = declareEdit(p.panel, "Edit2", *declaration.edit2);
        p.label2 = declareLabel(p.panel, "Label2", {declaration.label2Left, kTop}, kLabel2Size, QStringLiteral("月"));
    }
    p.button1 = declareButton(p.panel, "Button1", declaration.button1Left, QStringLiteral("フィルター"));
    p.button2 = declareButton(p.panel, "Button2", declaration.button2Left, QStringLiteral("戻る"));

    QWidget* previous = p.edit1;
    for (QWidget* next : {static_cast<QWidget*>(p.edit2), static_cast<QWidget*>(p.button1),
                          static_cast<QWidget*>(p.button2)}) {
        if (!next)
            continue;
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
    return p;
}

} // namespace uriage
