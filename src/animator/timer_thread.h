#pragma once
// The worker thread of a TThreadedTimer: it waits the timer's interval by itself and then runs
// the timer's tick, on the GUI thread (handed over, the worker waiting until it ran) or on itself.
//
// Suspending is cooperative, since threads cannot be suspended safely here: a suspended worker
// parks at its next check. A wait that has begun keeps its length and its end; queued calls and
// suspending do not cut it short. If the worker is suspended when its wait ends, that wait is
// dropped and the next resume begins a fresh one; if it is resumed before, the tick comes when the
// wait in progress ends. A wait that follows a tick is counted from the end of the previous wait,
// so ticks come one interval apart however long each takes (unless it takes a whole interval).

#include "animator/gui_handover.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <pthread.h>

namespace animator {

class TThreadedTimer;

enum class TThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical,
};

class TTimerThread : public std::enable_shared_from_this<TTimerThread>
{
public:
    // Starts the thread parked, serving `owner` (a QObject living on the GUI thread). The thread
    // holds the returned object until its run loop ends, so it frees itself after Terminate().
    static std::shared_ptr<TTimerThread> Create(TThreadedTimer* owner);
    ~TTimerThread();
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;

    void Suspend();
    void Resume();
    bool Suspended() const;
    bool Terminated() const;

    // Milliseconds of the next wait; a wait already begun keeps its length. 1000 at creation.
    void SetWaitInterval(std::uint32_t milliseconds);
    std::uint32_t WaitInterval() const;

    // Applied by the worker itself when it next leaves its parking place. A priority the process
    // may not take (raising it needs privileges here) is silently not taken.
    void SetPriority(TThreadPriority priority);

    // Runs `call` on the GUI thread and waits until it ran there (directly when already there).
    // Returns false, without running it, once the worker has been terminated.
    bool Synchronize(const std::function<void()>& call);

    // For the owner's destruction: the worker stops at once (a wait is cut short, a hand-over in
    // progress is dropped), never calls the owner again and frees itself. When a tick is running
    // on the worker at that moment this waits until it has returned, as it is using the owner.
    void Terminate();

    // The failure of the last unsynchronised tick, for the duration of its report.
    std::exception_ptr PendingException() const;

    // True once the application has begun to quit: workers then make no more calls.
    static bool ApplicationTerminating();

private:
    explicit TTimerThread(TThreadedTimer* owner);
    static void* Run(void* self); // the thread's entry; `self` is a new shared_ptr to the worker
    // The run loop, holding m_mutex except while a tick runs: park, wait the interval, tick.
    void Execute();
    // Parks while suspended; false when the worker is to stop (it then idles until terminated).
    bool WaitUntilRunning(std::unique_lock<std::mutex>& lock);
    // Begins a wait unless one is in progress and waits until it ends; true when a tick is due.
    bool WaitForTick(std::unique_lock<std::mutex>& lock);
    // The tick handed to the GUI thread, the worker waiting until it ran or the hand-over closed.
    void TickOnGuiThread(std::unique_lock<std::mutex>& lock, TThreadedTimer* owner);
    // The tick run here; Terminate waits for it, and its failure is reported.
    void TickOnWorker(std::unique_lock<std::mutex>& lock, TThreadedTimer* owner);
    bool StopRequested() const; // with m_mutex held
    void ApplyPriority(); // on the worker
    void ReportTickFailure(TThreadedTimer* owner);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    TThreadedTimer* m_owner; // none once terminated
    std::uint32_t m_waitInterval = 1000;
    std::exception_ptr m_pendingException;
    TGuiHandOver m_handOver;
    bool m_parked = true;
    bool m_terminated = false;
    bool m_inTick = false; // an unsynchronised tick is running
    bool m_waitInProgress = false;
    bool m_afterTick = false; // the last wait ended in a tick: the next one follows on from it
    std::chrono::steady_clock::time_point m_waitEnd;
    TThreadPriority m_priority = TThreadPriority::tpNormal;
    TThreadPriority m_appliedPriority = TThreadPriority::tpNormal;
    pthread_t m_thread {}; // the worker
};

} // namespace animator
