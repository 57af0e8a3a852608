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

namespace {

// Makes the window, points its global name at it and keeps it in `owned`.
template <typename Form, typename... Arguments>
Form* create(std::unique_ptr<Form>& owned, Form*& global, Arguments&... arguments)
{
    owned = std::make_unique<Form>(arguments...);
    global = owned.get();
    return global;
}

// Destroys the window and clears its global name.
template <typename Form>
void destroy(std::unique_ptr<Form>& owned, Form*& global)
{
    global = nullptr;
    owned.reset();
}

} // namespace

WindowSet::WindowSet(data::Engine& engine) : owner_(std::make_unique<QWidget>())
{
    owner_->setObjectName(QStringLiteral("Owner"));
    owner_->setWindowTitle(QStringLiteral("売上"));
    placeOwnerWindow(owner_.get()); // boxes it owns appear centred on it

    QWidget* owner = owner_.get();
    windows_ = {create(form1_, Form1, owner),         create(form2_, Form2, engine, owner),
                create(form3_, Form3, engine, owner), create(form4_, Form4, engine, owner),
                create(form6_, Form6, engine, owner), create(form5_, Form5, engine, owner),
                create(form7_, Form7, engine, owner)};

    platform::registerMainWindowClass(Form1);
    platform::attachToOwner(owner, Form1, windows_);
    if (!platform::ownerMinimisesProgram())
        new MinimiseTogether(Form1, std::vector<QWidget*>(windows_.begin() + 1, windows_.end()));
}

WindowSet::~WindowSet()
{
    for (QWidget* window : windows_)
        window->hide();
    destroy(form7_, Form7);
    destroy(form5_, Form5);
    destroy(form6_, Form6);
    destroy(form4_, Form4);
    destroy(form3_, Form3);
    destroy(form2_, Form2);
    destroy(form1_, Form1);
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
