#pragma once
// The reference timing: the same statement text run by the sqlite3 command-line
// shell on the same table file, timed by the shell itself (".timer on", the
// statement only; its output is discarded).
#include <QString>
#include <optional>

namespace uriage::bench {

struct ShellTiming {
    double milliseconds = 0;
    QString error;   // empty on success
};

// The file holds the table the statement names as "領収証記録.db"; a temporary
// view of that name lets the shell run the text unchanged.
ShellTiming timeStatementInShell(const QString& tableFile, const QString& statement);

} // namespace uriage::bench
