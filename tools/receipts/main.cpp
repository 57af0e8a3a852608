// receipts COMMAND [options]: writes the receipt table 領収証記録.db in a
// directory (the commands: receipts_demo.cpp, receipts_import.cpp).
#include "tool_command.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return uriage::tools::runTool(QCoreApplication::applicationName(), app.arguments());
}
