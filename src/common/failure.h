#pragma once
// Failures are exceptions carrying the one message the user will read.
// They are caught only at the dispatch boundary that shows the error box.
#include <QString>
#include <stdexcept>

namespace uriage {

class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

// Abandons the current action without a word: the error box shows nothing.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

// A failure raised by a named component: "%s: %s".
inline Failure componentFailure(const QString& componentName, const QString& message)
{
    return Failure(componentName + QStringLiteral(": ") + message);
}

} // namespace uriage
