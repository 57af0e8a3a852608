#include "app/application.h"

#include "windows/handler_dispatch.h"

#include <QSessionManager>

namespace uriage {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Only closing the main menu window ends the program.
    setQuitOnLastWindowClosed(false);
#if QT_CONFIG(sessionmanager)
    // When the logon is about to end, agree at once: nothing to save, no
    // question to ask, and no restart in the next session.
    connect(this, &QGuiApplication::commitDataRequest, this,
            [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); });
#endif
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportFailure(std::current_exception());
        return false;
    }
}

} // namespace uriage
