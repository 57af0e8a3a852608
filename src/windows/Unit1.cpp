#include "windows/Unit1.h"

#include "common/version.h"

#include "windows/fonts.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"
#include "windows/Unit6.h"
#include "windows/Unit7.h"
#include "windows/declared_size.h"
#include "windows/handler_dispatch.h"
#include "windows/window_rules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

TForm1* Form1 = nullptr;

namespace {

constexpr QColor kMoneyGreen(192, 220, 192);

QPushButton* declareButton(QWidget* parent, const char* name, QRect place, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

QLabel* declareLabel(QWidget* parent, const char* name, QRect place, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Labels size themselves to their text, from their declared place.
    const QSize fitting = label->sizeHint();
    label->setGeometry(place.x(), place.y(), std::max(place.width(), fitting.width()),
                       std::max(place.height(), fitting.height()));
    return label;
}

// Makes the given chart window the only chart window on screen.
void showOnlyChart(QWidget* chart)
{
    QWidget* const charts[] = {Form2, Form3, Form4, Form6, Form5, Form7};
    for (QWidget* other : charts)
        if (other != chart)
            uriage::hideWindow(other);
    uriage::makeVisible(chart);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("売上"));
    resize(uriage::clientSizeFromOuter(477, 194));
    setFont(uriage::makeFont(uriage::kGothicFamily, 12));
    QPalette money = palette();
    money.setColor(QPalette::Window, kMoneyGreen);
    setPalette(money);
    setAutoFillBackground(true);

    // Declaration order, which is also the tab order.
    Button1 = declareButton(this, "Button1", {144, 40, 153, 25}, QStringLiteral("月別売上（平面図）保険料金"));
    Button2 = declareButton(this, "Button2", {8, 8, 121, 25}, QStringLiteral("年別売上（３Ｄ）保険外"));
    Button3 = declareButton(this, "Button3", {8, 80, 75, 25}, QStringLiteral("終了"));
    Button4 = declareButton(this, "Button4", {8, 40, 121, 25}, QStringLiteral("月別売上（３Ｄ）保険外"));
    Button5 = declareButton(this, "Button5", {144, 8, 153, 25}, QStringLiteral("年別売上（平面図）保険料金"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, height() - uriage::kPanelHeight, width(), uriage::kPanelHeight);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    QPalette face = QApplication::palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    Panel1->setPalette(face);
    Panel1->setAutoFillBackground(true);
    Label1 = declareLabel(Panel1, "Label1", {0, 8, 59, 12}, QStringLiteral("Version" URIAGE_VERSION));
    Label2 = declareLabel(Panel1, "Label2", {0, 24, 315, 12},
                          QStringLiteral("制作・著作　Zelmora　無断で複製することを禁じます"));

    Button6 = declareButton(this, "Button6", {312, 40, 137, 25}, QStringLiteral("月別売上（３Ｄ）患者数"));
    Button7 = declareButton(this, "Button7", {312, 8, 137, 25}, QStringLiteral("年別売上（３Ｄ）患者数"));

    QWidget::setTabOrder(Button1, Button2);
    QWidget::setTabOrder(Button2, Button3);
    QWidget::setTabOrder(Button3, Button4);
    QWidget::setTabOrder(Button4, Button5);
    QWidget::setTabOrder(Button5, Button6);
    QWidget::setTabOrder(Button6, Button7);

    uriage::connectClick(Button1, [this] { Button1Click(); });
    uriage::connectClick(Button2, [this] { Button2Click(); });
    uriage::connectClick(Button3, [this] { Button3Click(); });
    uriage::connectClick(Button4, [this] { Button4Click(); });
    uriage::connectClick(Button5, [this] { Button5Click(); });
    uriage::connectClick(Button6, [this] { Button6Click(); });
    uriage::connectClick(Button7, [this] { Button7Click(); });
}

void TForm1::Button1Click() { showOnlyChart(Form2); }
void TForm1::Button2Click() { showOnlyChart(Form3); }
void TForm1::Button3Click() { close(); }
void TForm1::Button4Click() { showOnlyChart(Form4); }
void TForm1::Button5Click() { showOnlyChart(Form6); }
void TForm1::Button6Click() { showOnlyChart(Form5); }
void TForm1::Button7Click() { showOnlyChart(Form7); }

void TForm1::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    // Panel1 is aligned to the bottom edge across the whole client width.
    Panel1->setGeometry(0, height() - uriage::kPanelHeight, width(), uriage::kPanelHeight);
    QWidget::resizeEvent(event);
}
