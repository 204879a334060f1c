#include "failure_report.h"

#include "animator/gui_handover.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include <mutex>

namespace animator {

namespace {

std::mutex handlerMutex;
ApplicationExceptionHandler applicationHandler;

void ShowStandardBox(const std::exception& error)
{
    QString text = QString::fromUtf8(error.what());
    if (!text.isEmpty() && text.back().unicode() > u'.')
        text += u'.';
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Мнемира"), text, QMessageBox::Ok);
    box.exec();
}

void Deliver(QObject* sender, const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        ApplicationExceptionHandler handler;
        {
            std::lock_guard lock(handlerMutex);
            handler = applicationHandler;
        }
        if (handler)
            handler(sender, e);
        else
            ShowStandardBox(e);
    } catch (...) {
        // Not an ordinary failure: nothing sensible to show.
    }
}

} // namespace

void SetApplicationExceptionHandler(ApplicationExceptionHandler handler)
{
    std::lock_guard lock(handlerMutex);
    applicationHandler = std::move(handler);
}

void ReportApplicationException(QObject* sender, std::exception_ptr error)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !error)
        return;
    if (QThread::currentThread() == app->thread()) {
        Deliver(sender, error);
        return;
    }
    PostApplicationException(sender, std::move(error));
}

void PostApplicationException(QObject* sender, std::exception_ptr error)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !error)
        return;
    QPointer<QObject> guardedSender(sender);
    TGuiHandOver::Post(app, [guardedSender, error] { Deliver(guardedSender.data(), error); });
}

} // namespace animator
