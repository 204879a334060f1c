#pragma once
// A timer component that calls OnTimer every Interval milliseconds. By default a worker thread of
// its own (TTimerThread) does the waiting and hands every tick to the GUI thread, waiting until the
// handler has run there; so handlers run on the GUI thread, but the timing does not depend on the
// GUI thread's event queue. With SyncEvent off the handler runs on the worker itself; with Threaded
// off a QTimer on the GUI thread ticks instead.
//
// Setters compare first and do nothing for the current value. All setters, the constructor and the
// destructor belong to the GUI thread, except that a tick running on the worker may set Interval
// and Enabled (the animator does) when it holds the lock that the GUI thread's setters hold too.

#include "base/notify_event.h"
#include "animator/timer_thread.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>

class QTimer;

namespace animator {

// The platform refused a resource, e.g. a timer.
class EOutOfResources : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TThreadedTimer : public QObject
{
public:
    // Enabled, Interval 1000, SyncEvent on, Threaded on, tpNormal; the worker parked. Nothing
    // ticks until OnTimer is assigned.
    explicit TThreadedTimer(QObject* owner = nullptr);
    // Returns at once: the worker stops without calling the timer again and frees itself. Only an
    // unsynchronised tick running at that moment is waited for.
    ~TThreadedTimer() override;
    // The first part of the destruction, for an owner that must know no tick runs any more while
    // the timer still exists: no tick is called after this returns. Idempotent.
    void Shutdown();

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    std::uint32_t Interval() const { return m_interval; }
    // 0 means no ticks. A new interval applies from the next wait.
    void SetInterval(std::uint32_t milliseconds);
    bool SyncEvent() const { return m_syncEvent; }
    void SetSyncEvent(bool syncEvent); // read by the worker at each tick
    bool Threaded() const { return m_threaded; }
    // Throws EOutOfResources "Not enough timers available" when the QTimer cannot start; the
    // property keeps its new value. So may every setter while Threaded is off.
    void SetThreaded(bool threaded);
    TThreadPriority ThreadPriority() const { return m_priority; }
    void SetThreadPriority(TThreadPriority priority);
    base::TNotifyEvent OnTimer() const;
    void SetOnTimer(base::TNotifyEvent handler);

    // Runs `method` on the GUI thread: directly when called there, otherwise handed over while
    // the caller waits. Returns false (not run) when the timer is being destroyed.
    bool RunSynchronized(const std::function<void()>& method);

    bool Destroying() const { return m_destroying; }
    // The worker, for its state (Suspended(), WaitInterval()).
    const TTimerThread& WorkerThread() const { return *m_worker; }
    // True while a QTimer ticks (message mode only).
    bool TimerWindowActive() const;

    // One tick: calls OnTimer with this timer as sender when Enabled is on, the timer is not being
    // destroyed and a handler is assigned. Failures propagate to the caller.
    virtual void Tick();

private:
    void ApplyTimerState();
    bool TicksWanted() const;
    void TimerWindowTick();

    std::atomic<bool> m_enabled { true };
    std::atomic<std::uint32_t> m_interval { 1000 };
    mutable std::mutex m_onTimerMutex;
    base::TNotifyEvent m_onTimer;
    std::unique_ptr<QTimer> m_timerWindow; // exists only in message mode
    std::atomic<bool> m_syncEvent { true };
    bool m_threaded = true;
    std::shared_ptr<TTimerThread> m_worker;
    TThreadPriority m_priority = TThreadPriority::tpNormal;
    std::atomic<bool> m_destroying { false };
};

} // namespace animator
