#include "base/error_report.h"

#include <QMessageBox>
#include <QWidget>

#include <mutex>

namespace base {

namespace {

// Set on the GUI thread; read there too, but guarded so that a worker thread's report never
// sees a half-assigned handler.
std::mutex handlersMutex;
ExceptionHandler exceptionHandler;
std::function<void(const QString&)> errorBox;

template <typename T> T copyOf(const T& value)
{
    std::lock_guard lock(handlersMutex);
    return value;
}

} // namespace

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowErrorBox(const QString& message, QWidget* parent)
{
    const QString text = ErrorBoxText(message);
    if (const auto box = copyOf(errorBox)) {
        box(text);
        return;
    }
    // A window that is not shown yet (one failing while it is built) is no parent for the box.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Мнемира"), text, QMessageBox::Ok,
        parent && parent->isVisible() ? parent : nullptr);
    box.exec();
}

void SetErrorBox(std::function<void(const QString& text)> box)
{
    std::lock_guard lock(handlersMutex);
    errorBox = std::move(box);
}

void SetExceptionHandler(ExceptionHandler handler)
{
    std::lock_guard lock(handlersMutex);
    exceptionHandler = std::move(handler);
}

void ReportException(QObject* sender, const std::exception& error)
{
    if (dynamic_cast<const EAbort*>(&error))
        return;
    if (const auto handler = copyOf(exceptionHandler))
        handler(sender, error);
    else
        ShowErrorBox(QString::fromUtf8(error.what()));
}

void ReportException(QObject* sender, const std::exception_ptr& error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ReportException(sender, e);
    } catch (...) {
        ReportException(sender, std::runtime_error("Unknown error"));
    }
}

} // namespace base
