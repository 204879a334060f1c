#include "animator/failure_report.h"

#include "animator/gui_handover.h"
#include "base/error_report.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace animator {

void ReportApplicationException(QObject* sender, std::exception_ptr error)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !error)
        return;
    if (QThread::currentThread() == app->thread()) {
        base::ReportException(sender, error);
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
    TGuiHandOver::Post(
        app, [guardedSender, error] { base::ReportException(guardedSender.data(), error); });
}

} // namespace animator
