// uriage-bench startup [--runs N]
// Start-up to the main menu painted: starts `uriage-bench startup-child` N
// times and takes the time from starting the process to its report that the
// main menu window has been painted. Prints the median as `startup`.
//
// startup-child does what the program's entry does (application object,
// fonts, icon, the seven windows, the main menu shown) and reports after the
// main menu's first paint. Only the single-instance guard is left out, so that
// a running copy of the program cannot turn the run into a hand-over.
#include "bench_command.h"
#include "data/engine.h"
#include "figure_line.h"
#include "offscreen.h"
#include "options.h"
#include "statistics.h"

#include "app/application.h"
#include "app/error_box.h"
#include "app/program_icon.h"
#include "app/window_set.h"
#include "platform/window_system.h"
#include "windows/fonts.h"
#include "windows/Unit1.h"
#include "windows/handler_dispatch.h"
#include "windows/window_rules.h"

#include <QCoreApplication>
#include <QEvent>
#include <QProcess>
#include <QTimer>
#include <cstdio>

namespace uriage::bench {
namespace {

// Ends the loop right after the watched window's first paint has been delivered.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
    bool seen() const { return seen_; }

private:
    bool seen_ = false;
};

int startupChild(int& argc, char** argv, const QStringList&)
{
    preferOffscreen();
    Application app(argc, argv);
    installFontSubstitutes();
    QApplication::setWindowIcon(programIcon());
    int status = 1;
    {
        data::Engine engine;
        WindowSet windows(engine);
        setErrorDisplay([owner = windows.owner()](const QString& message) { showErrorBox(message, owner); });
        setExpectedFrame(platform::frameExtentsBeforeMapping(Form1));
        FirstPaint watcher;
        Form1->installEventFilter(&watcher);
        showMainWindow(Form1, platform::InitialShow::Normal);
        QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });
        status = QCoreApplication::exec();
        if (status == 0 && watcher.seen()) {
            std::printf("painted\n");
            std::fflush(stdout);
        } else {
            status = 1;
        }
        Form1->removeEventFilter(&watcher);
        setErrorDisplay({});
    }
    return status;
}

int startupCommand(int& argc, char** argv, const QStringList& arguments)
{
    Options options({QStringLiteral("runs")});
    if (!options.parse(arguments))
        return 2;
    const int runs = options.number(QStringLiteral("runs"), 5);
    QCoreApplication app(argc, argv);
    preferOffscreen();
    std::vector<double> samples;
    // The first start fills the system's caches and is not counted.
    for (int run = 0; run <= runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const Stopwatch clock;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("startup-child")});
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(30000))
            line += child.readAllStandardOutput();
        const double elapsed = clock.milliseconds();
        child.waitForFinished(30000);
        if (!line.startsWith("painted") || child.exitCode() != 0) {
            std::fprintf(stderr, "uriage-bench startup: the main menu was not painted (exit %d)\n", child.exitCode());
            return 1;
        }
        std::fprintf(stderr, "  startup run %d: %.1f ms\n", run, elapsed);
        if (run > 0)
            samples.push_back(elapsed);
    }
    printFigure("startup", median(samples), "ms", 1);
    return 0;
}

const CommandRegistrar child("startup-child", startupChild);
const CommandRegistrar registrar("startup", startupCommand);

} // namespace
} // namespace uriage::bench
