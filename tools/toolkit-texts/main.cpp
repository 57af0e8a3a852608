// toolkit-texts: opens an edit box's context menu, with Qt's translation
// loaded as the program loads it, and prints the file loaded and the menu's
// texts, one a line, in UTF-8. For the checks of the program's Japanese
// texts on Linux and under Wine (copied beside a program's "translations").
// Exit code 0 when the menu opened, 1 when it did not.
#include "app/toolkit_translation.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <cstdio>

namespace {

void printLine(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTranslator* translator = uriage::installToolkitTranslation();
    printLine(QStringLiteral("file: ") + (translator ? translator->filePath() : QString()));

    QLineEdit edit;
    edit.setText(QStringLiteral("2005"));
    edit.show();
    bool opened = false;
    // The menu runs its own loop; a timer reads it once it is up, then closes it.
    QTimer reader;
    reader.setInterval(50);
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                printLine(action->text());
        }
        opened = true;
        menu->close();
        reader.stop();
        QTimer::singleShot(0, &app, &QApplication::quit);
    });
    QTimer::singleShot(0, &edit, [&] {
        reader.start();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&edit, &event);
    });
    QTimer::singleShot(20000, &app, &QApplication::quit);
    app.exec();
    std::fflush(stdout);
    return opened ? 0 : 1;
}
