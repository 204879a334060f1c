#pragma once
// The one way a failure reaches the player: the application's handler of failures when one is
// installed (the application events component does that, hints/application_error_routing.cpp),
// otherwise the standard error box.

#include <QString>

#include <exception>
#include <functional>
#include <stdexcept>

class QObject;
class QWidget;

namespace base {

// A failure that is dropped silently when it is reported.
class EAbort : public std::runtime_error
{
public:
    EAbort()
        : std::runtime_error("Operation aborted")
    { }
};

// The text of the standard error box: the message, with "." appended when the message is not
// empty and its last character sorts after "." ("Disk full" → "Disk full.", but
// "Истекло время!" and "(1)" stay as they are).
QString ErrorBoxText(const QString& message);

// The standard error box: modal, stop icon, one OK button, caption "Мнемира", text
// ErrorBoxText(message). Returns when the player has closed it.
void ShowErrorBox(const QString& message, QWidget* parent = nullptr);

// Where the standard error box shows; tests put in one that records the box's text. An empty
// function restores the real box.
void SetErrorBox(std::function<void(const QString& text)> box);

// The application's handler of failures (GUI thread); an empty function removes it.
using ExceptionHandler = std::function<void(QObject* sender, const std::exception& error)>;
void SetExceptionHandler(ExceptionHandler handler);

// Reports a failure on the GUI thread: EAbort is dropped, anything else goes to the handler, or
// to the standard error box when none is installed. A failure that is no std::exception reads
// "Unknown error".
void ReportException(QObject* sender, const std::exception& error);
void ReportException(QObject* sender, const std::exception_ptr& error);

// Runs `handler` and reports what it throws: an event handler's failure ends that handler and
// the program goes on with the next event.
template <typename F> void RunReported(QObject* sender, F&& handler)
{
    try {
        handler();
    } catch (...) {
        ReportException(sender, std::current_exception());
    }
}

} // namespace base
