#pragma once
// How the animation components hand a failure they caught (a tick on a worker thread, a paint)
// to the GUI thread, where it is reported like every other failure (base/error_report.h).

#include <exception>

class QObject;

namespace animator {

// Reports a caught failure from any thread. On the GUI thread the report is made before this
// returns; on another thread it is queued to the GUI thread and this returns at once. `sender` is
// only passed on, and a sender destroyed before a queued report is made is passed on as null.
void ReportApplicationException(QObject* sender, std::exception_ptr error);
// The same, always queued to the GUI thread: for failures caught where a modal box must not open
// (inside a paint).
void PostApplicationException(QObject* sender, std::exception_ptr error);

} // namespace animator
