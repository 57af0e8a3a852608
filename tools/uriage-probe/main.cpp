// uriage-probe COMMAND [options]: runs one registered command.
#include "tool_command.h"
#include "windows/fonts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Headless unless told otherwise. On Windows the system's own platform,
    // the only one the Windows package carries (the window shows briefly).
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    uriage::installFontSubstitutes();
    return uriage::tools::runTool(QStringLiteral("uriage-probe"), app.arguments());
}
