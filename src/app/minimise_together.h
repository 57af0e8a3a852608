#pragma once
// Minimising the main menu window minimises the whole program: every visible
// window goes with it and comes back with it.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace uriage {

class MinimiseTogether : public QObject {
public:
    MinimiseTogether(QWidget* mainWindow, std::vector<QWidget*> others);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mainMinimised();
    void mainRestored();

    QWidget* mainWindow_;
    std::vector<QPointer<QWidget>> others_;
    std::vector<QPointer<QWidget>> minimisedWithMain_;
};

} // namespace uriage
