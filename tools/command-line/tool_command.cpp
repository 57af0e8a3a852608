#include "tool_command.h"

#include <QTextStream>
#include <map>

namespace uriage::tools {
namespace {

std::map<QString, Command>& registry()
{
    static std::map<QString, Command> commands;
    return commands;
}

// The tool's own usage: its commands, one a line.
QString toolHelp(const QString& toolName)
{
    QString text = QStringLiteral("Usage: %1 COMMAND [options]\n\nCommands:\n").arg(toolName);
    for (const auto& [name, command] : registry())
        text += QStringLiteral("  %1  %2\n").arg(name, -8).arg(command.summary);
    text += QStringLiteral("\n%1 COMMAND --help describes a command's options.\n").arg(toolName);
    return text;
}

void declare(QCommandLineParser& parser, const Command& command)
{
    parser.setApplicationDescription(command.summary);
    parser.addOptions(command.options);
    parser.addHelpOption();
    for (const PositionalArgument& positional : command.positionals)
        parser.addPositionalArgument(positional.name, positional.description);
}

// The parser's help with a usage line that names the tool and the command
// (the parser's own names the program as typed, without the command).
QString commandHelp(const QCommandLineParser& parser, const QString& toolName, const Command& command)
{
    QString usage = QStringLiteral("Usage: %1 %2 [options]").arg(toolName, command.name);
    for (const PositionalArgument& positional : command.positionals)
        usage += QChar(' ') + positional.name;
    QString text = parser.helpText();
    const qsizetype lineEnd = text.indexOf(QChar('\n'));
    return text.replace(0, lineEnd < 0 ? text.size() : lineEnd, usage);
}

} // namespace

CommandLine::CommandLine(QString prefix, const QCommandLineParser& parser, QString helpText)
    : prefix_(std::move(prefix)), parser_(parser), helpText_(std::move(helpText))
{
}

QStringList CommandLine::positionalArguments() const
{
    return parser_.positionalArguments().mid(1);
}

int CommandLine::usageError(const QString& problem) const
{
    QTextStream(stderr) << prefix_ << ": " << problem << "\n\n" << helpText_;
    return kUsageExitCode;
}

CommandRegistrar::CommandRegistrar(Command command)
{
    const QString name = command.name;
    registry()[name] = std::move(command);
}

int runTool(const QString& toolName, const QStringList& arguments)
{
    const QString name = arguments.value(1);
    const auto found = registry().find(name);
    if (found == registry().end()) {
        const bool askedForHelp = name == QLatin1String("--help") || name == QLatin1String("-h");
        QTextStream stream(askedForHelp ? stdout : stderr);
        if (!askedForHelp && !name.isEmpty())
            stream << toolName << ": unknown command " << name << "\n\n";
        stream << toolHelp(toolName);
        return askedForHelp ? 0 : kUsageExitCode;
    }
    const Command& command = found->second;
    QCommandLineParser parser;
    declare(parser, command);
    const QString help = commandHelp(parser, toolName, command);
    const CommandLine line(toolName + QChar(' ') + command.name, parser, help);
    if (!parser.parse(arguments))
        return line.usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QTextStream(stdout) << help;
        return 0;
    }
    const QStringList positionals = line.positionalArguments();
    if (positionals.size() > command.positionals.size())
        return line.usageError(QStringLiteral("unexpected argument %1").arg(positionals.at(command.positionals.size())));
    return command.run(line);
}

} // namespace uriage::tools
