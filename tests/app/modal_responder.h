#pragma once
// Answers the next application-modal box: once one is open, runs an
// inspection on it and then presses its OK (or only) button. Stops on
// destruction, so a stray timer cannot reach the next test.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

class ModalResponder {
public:
    explicit ModalResponder(std::function<void(QMessageBox*)> inspect = {}) : inspect_(std::move(inspect))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    ~ModalResponder() { timer_.stop(); }

    int answered() const { return answered_; }

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        ++answered_;
        if (inspect_)
            inspect_(box);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    std::function<void(QMessageBox*)> inspect_;
    QTimer timer_;
    int answered_ = 0;
};
