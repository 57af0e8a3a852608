#pragma once
// The one dispatch boundary for the program's own event handlers: a failure
// that leaves a handler is handed to the error display and the loop goes on.
#include <QString>
#include <exception>
#include <functional>

class QAbstractButton;

namespace uriage {

using ErrorDisplay = std::function<void(const QString& message)>;

// Set by the application (the error box); tests may install their own.
void setErrorDisplay(ErrorDisplay display);

// Runs a handler; a Failure reaches the error display, a SilentAbort nothing.
void dispatchHandler(const std::function<void()>& handler);

// Connects a button's click to a handler through the dispatch boundary.
void connectClick(QAbstractButton* button, std::function<void()> handler);

// Shows a caught exception as dispatchHandler does; for the application's last
// net around event delivery. Never throws.
void reportFailure(std::exception_ptr failure) noexcept;

} // namespace uriage
