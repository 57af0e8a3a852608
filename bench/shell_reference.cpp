#include "shell_reference.h"

#include <QProcess>
#include <QRegularExpression>

namespace uriage::bench {

ShellTiming timeStatementInShell(const QString& tableFile, const QString& statement)
{
    ShellTiming timing;
    QString script;
    script += QStringLiteral("CREATE TEMP VIEW \"領収証記録.db\" AS SELECT * FROM 領収証記録;\n");
    script += QStringLiteral(".output /dev/null\n.timer on\n");
    script += statement + QStringLiteral(";\n");

    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), QStringLiteral("-bail"), tableFile});
    if (!shell.waitForStarted(10000)) {
        timing.error = QStringLiteral("cannot start sqlite3: ") + shell.errorString();
        return timing;
    }
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    if (!shell.waitForFinished(600000)) {
        shell.kill();
        shell.waitForFinished();
        timing.error = QStringLiteral("sqlite3 did not finish");
        return timing;
    }
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    const QString err = QString::fromUtf8(shell.readAllStandardError()).trimmed();
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0 || !err.isEmpty()) {
        timing.error = QStringLiteral("sqlite3 failed: ") + err;
        return timing;
    }
    // Exactly one timed statement: the aggregate.
    static const QRegularExpression runTime(QStringLiteral("Run Time: real ([0-9.]+)"));
    auto matches = runTime.globalMatch(out);
    int count = 0;
    while (matches.hasNext()) {
        timing.milliseconds = matches.next().captured(1).toDouble() * 1000.0;
        ++count;
    }
    if (count != 1)
        timing.error = QStringLiteral("sqlite3 printed %1 timings instead of one: %2").arg(count).arg(out.left(200));
    return timing;
}

} // namespace uriage::bench
