#include "windows/handler_dispatch.h"

#include "data/failure.h"

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

void dispatchHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const SilentAbort&) {
    } catch (const Failure& failure) {
        showError(failure.message());
    } catch (const std::exception& e) {
        showError(QString::fromLocal8Bit(e.what()));
    }
}

void connectClick(QAbstractButton* button, std::function<void()> handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [handler = std::move(handler)] { dispatchHandler(handler); });
}

} // namespace uriage
