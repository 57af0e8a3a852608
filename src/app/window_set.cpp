#include "app/window_set.h"

#include "app/minimise_together.h"
#include "app/owner_placement.h"
#include "platform/platform_start.h"
#include "platform/window_system.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"
#include "windows/Unit5.h"
#include "windows/Unit6.h"
#include "windows/Unit7.h"
#include "windows/window_rules.h"

#include <QApplication>

namespace uriage {

WindowSet::WindowSet() : owner_(new QWidget)
{
    owner_->setObjectName(QStringLiteral("Owner"));
    owner_->setWindowTitle(QStringLiteral("売上"));
    placeOwnerWindow(owner_); // boxes it owns appear centred on it

    Form1 = new TForm1(owner_);
    Form2 = new TForm2(owner_);
    Form3 = new TForm3(owner_);
    Form4 = new TForm4(owner_);
    Form6 = new TForm6(owner_);
    Form5 = new TForm5(owner_);
    Form7 = new TForm7(owner_);
    windows_ = {Form1, Form2, Form3, Form4, Form6, Form5, Form7};

    platform::registerMainWindowClass(Form1);
    platform::attachToOwner(owner_, Form1, windows_);
    if (!platform::ownerMinimisesProgram())
        new MinimiseTogether(Form1, std::vector<QWidget*>(windows_.begin() + 1, windows_.end()));
}

WindowSet::~WindowSet()
{
    for (QWidget* window : windows_)
        window->hide();
    delete Form7;
    Form7 = nullptr;
    delete Form5;
    Form5 = nullptr;
    delete Form6;
    Form6 = nullptr;
    delete Form4;
    Form4 = nullptr;
    delete Form3;
    Form3 = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
    delete owner_;
}

void showMainWindow(QWidget* mainWindow, platform::InitialShow request)
{
    switch (request) {
    case platform::InitialShow::Maximized:
        mainWindow->setWindowState(Qt::WindowMaximized);
        makeVisible(mainWindow);
        break;
    case platform::InitialShow::MinimizedNoActivate:
        // Minimised to the task-bar entry: where the owner window carries it,
        // the main window is shown and the owner minimised, which hides it
        // until the entry is restored.
        if (platform::ownerMinimisesProgram()) {
            makeVisible(mainWindow, Activation::Leave);
            platform::minimiseProgram();
        } else {
            mainWindow->setWindowState(Qt::WindowMinimized);
            makeVisible(mainWindow, Activation::Leave);
        }
        break;
    case platform::InitialShow::Normal:
        makeVisible(mainWindow);
        break;
    }
}

int runMessageLoop(TForm1* mainWindow)
{
    // exit() rather than quit(): the loop just stops; the windows are hidden
    // and destroyed afterwards, in their own order.
    const QMetaObject::Connection ending = QObject::connect(mainWindow, &TForm1::closed, qApp, [] {
        QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    const int result = QApplication::exec();
    QObject::disconnect(ending);
    return result;
}

} // namespace uriage
