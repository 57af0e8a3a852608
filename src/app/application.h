#pragma once
// The application object: the last net for failures during event delivery and
// the program's answer to the session manager.
#include <QApplication>

namespace uriage {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // A failure that escaped every handler is shown in the error box instead
    // of unwinding further; the event counts as not handled.
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace uriage
