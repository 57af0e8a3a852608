#pragma once
// "--name value" pairs of a command line.
#include <QMap>
#include <QString>
#include <QStringList>

namespace uriage::bench {

class Options {
public:
    // False (with a message on stderr) when a name has no value.
    bool parse(const QStringList& arguments);
    QString text(const QString& name, const QString& fallback = {}) const { return values_.value(name, fallback); }
    int number(const QString& name, int fallback) const;
    bool has(const QString& name) const { return values_.contains(name); }

private:
    QMap<QString, QString> values_;
};

} // namespace uriage::bench
