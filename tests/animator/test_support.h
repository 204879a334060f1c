#pragma once
// Helpers shared by the animator tests: waiting with the GUI thread's event loop running.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace animator_test {

// Processes events until `done` holds or `timeoutMs` passed; returns whether it holds.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Processes events for `ms` milliseconds.
inline void Spin(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace animator_test
