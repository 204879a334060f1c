#pragma once
// How the animation components hand a failure they caught (a tick on a worker thread, a paint)
// to the application, which shows it the way it shows every other error.

#include <exception>
#include <functional>
#include <stdexcept>

class QObject;

namespace animator {

// A failure that is to be dropped silently when it reaches the application.
class EAbort : public std::runtime_error
{
public:
    EAbort()
        : std::runtime_error("Operation aborted")
    { }
};

// Called on the GUI thread with the object that caught the failure and the failure itself.
using ApplicationExceptionHandler
    = std::function<void(QObject* sender, const std::exception& error)>;

// Installs the application-wide handler (GUI thread). Without one, a failure is shown in a modal
// message box with the stop icon and the caption "Мнемира"; a message whose last character sorts
// after "." gets a "." appended.
void SetApplicationExceptionHandler(ApplicationExceptionHandler handler);

// Reports a caught failure from any thread. On the GUI thread the handler (or the box) runs before
// this returns; on another thread the report is queued to the GUI thread and this returns at once.
// EAbort is ignored. `sender` is only passed on, so it must outlive the queued report or be null.
void ReportApplicationException(QObject* sender, std::exception_ptr error);
// The same, always queued to the GUI thread: for failures caught where a modal box must not open
// (inside a paint).
void PostApplicationException(QObject* sender, std::exception_ptr error);

} // namespace animator
