#pragma once
// The main menu window: one button per chart window and one that ends the program.
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QFrame* Panel1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Button6;
    QPushButton* Button7;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();

signals:
    // The main menu window was closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

extern TForm1* Form1;
