// Where a failure goes: while the application object exists it is the program's handler of
// failures (base/error_report.h), so every failure reported anywhere (an event handler's, a
// timer tick's, a paint's) reaches OnException, or the standard error box when no handler is
// assigned.
#include "hints/application.h"

#include "base/error_report.h"

namespace hints {

void Application::startRoutingFailures()
{
    base::SetExceptionHandler(
        [this](QObject* sender, const std::exception& error) { handleException(sender, error); });
}

void Application::stopRoutingFailures()
{
    base::SetExceptionHandler(nullptr);
}

void Application::handleException(QObject* sender, const std::exception& error)
{
    if (events.OnException)
        events.OnException(sender, error);
    else
        showException(error);
}

void Application::showException(const std::exception& error)
{
    base::ShowErrorBox(QString::fromUtf8(error.what()), m_mainWindow);
}

void Application::runHandler(QObject* sender, const std::function<void()>& handler)
{
    base::RunReported(sender, handler);
}

} // namespace hints
