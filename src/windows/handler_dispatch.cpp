#include "windows/handler_dispatch.h"

#include "common/failure.h"

#include <QAbstractButton>
#include <exception>

namespace uriage {
namespace {

ErrorDisplay& errorDisplay()
{
    static ErrorDisplay display;
    return display;
}

void showError(const QString& message)
{
    if (errorDisplay())
        errorDisplay()(message);
}

} // namespace

void setErrorDisplay(ErrorDisplay display) { errorDisplay() = std::move(display); }

void reportFailure(std::exception_ptr failure) noexcept
{
    // The display itself may fail (a box that cannot be shown): that is
    // swallowed here so that nothing unwinds into the toolkit's frames.
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const SilentAbort&) {
        } catch (const Failure& f) {
            showError(f.message());
        } catch (const std::exception& e) {
            showError(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            showError(QStringLiteral("不明なエラー"));
        }
    } catch (...) {
    }
}

void dispatchHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        reportFailure(std::current_exception());
    }
}

void connectClick(QAbstractButton* button, std::function<void()> handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [handler = std::move(handler)] { dispatchHandler(handler); });
}

} // namespace uriage
