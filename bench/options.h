#pragma once
// A command's "--name value" options, parsed by QCommandLineParser: unknown
// options, a missing value and stray arguments are refused with a message.
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace uriage::bench {

class Options {
public:
    // The names of the options the command takes, each with a value.
    explicit Options(const QStringList& names);
    // False (with a message on stderr) when the arguments do not fit.
    bool parse(const QStringList& arguments);
    QString text(const QString& name, const QString& fallback = {}) const;
    int number(const QString& name, int fallback) const;
    bool has(const QString& name) const { return parser_.isSet(name); }

private:
    QCommandLineParser parser_;
};

} // namespace uriage::bench
