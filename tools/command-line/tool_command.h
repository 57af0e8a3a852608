#pragma once
// How a tool (TOOL COMMAND [options] [arguments]) declares its commands: each
// command names its options and positional arguments and the function that
// runs it on the parsed command line. Every command registers itself from its
// own source file through a CommandRegistrar; runTool picks the command,
// parses its options with QCommandLineParser (help and errors for free) and
// runs it.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

namespace uriage::tools {

// The exit code of a command line the tool cannot use.
inline constexpr int kUsageExitCode = 2;

struct PositionalArgument {
    QString name;         // as the help lists it, e.g. "FILE.csv"
    QString description;
};

class CommandLine;

struct Command {
    QString name;
    QString summary;
    QList<QCommandLineOption> options;
    QList<PositionalArgument> positionals;
    int (*run)(const CommandLine& line);
};

// What a command's function reads: its options and positional arguments
// (without the command's own name).
class CommandLine {
public:
    CommandLine(QString prefix, const QCommandLineParser& parser, QString helpText);

    bool isSet(const QString& option) const { return parser_.isSet(option); }
    // The last value given for the option, or its default.
    QString value(const QString& option) const { return parser_.value(option); }
    // Every value given for the option, in order.
    QStringList values(const QString& option) const { return parser_.values(option); }
    QStringList positionalArguments() const;

    // Reports a command line the command cannot use on stderr, with the
    // command's help, and returns the usage exit code.
    int usageError(const QString& problem) const;

private:
    QString prefix_;   // "TOOL COMMAND"
    const QCommandLineParser& parser_;
    QString helpText_;
};

struct CommandRegistrar {
    explicit CommandRegistrar(Command command);
};

// Runs the command named by arguments[1] (arguments[0] is the program) and
// returns the exit code: the command's own, 0 after --help, kUsageExitCode for
// an unknown command or a command line its parser rejects.
int runTool(const QString& toolName, const QStringList& arguments);

} // namespace uriage::tools
