#include "animator/timer_thread.h"

#include "animator/failure_report.h"
#include "animator/threaded_timer.h"

#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <system_error>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace animator {

namespace {

std::atomic<bool> applicationTerminating { false };

void WatchApplicationQuit()
{
    static std::once_flag once;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    std::call_once(once, [app] {
        QObject::connect(
            app, &QCoreApplication::aboutToQuit, [] { applicationTerminating = true; });
    });
}

// Nice values of the ordinary scheduler for the priorities above idle.
int NiceOf(TThreadPriority priority)
{
    switch (priority) {
    case TThreadPriority::tpIdle:
    case TThreadPriority::tpLowest:
        return 10;
    case TThreadPriority::tpLower:
        return 5;
    case TThreadPriority::tpNormal:
        return 0;
    case TThreadPriority::tpHigher:
        return -5;
    case TThreadPriority::tpHighest:
        return -10;
    case TThreadPriority::tpTimeCritical:
        return -20;
    }
    return 0;
}

// The worker only waits and hands ticks over (drawing asynchronously, it composes a frame), so
// it needs far less than the default stack of 8 MiB; sanitizers' instrumentation needs more.
// (GCC says so with __SANITIZE_*__, clang with __has_feature.)
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define MNEMIRA_SANITIZED_BUILD
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MNEMIRA_SANITIZED_BUILD
#endif
#ifdef MNEMIRA_SANITIZED_BUILD
constexpr std::size_t kStackSize = std::size_t(8) << 20;
#else
constexpr std::size_t kStackSize = std::size_t(512) << 10;
#endif

} // namespace

void* TTimerThread::Run(void* arg)
{
    // The worker holds itself until its run loop ends.
    const std::unique_ptr<std::shared_ptr<TTimerThread>> self(
        static_cast<std::shared_ptr<TTimerThread>*>(arg));
    (*self)->Execute();
    return nullptr;
}

std::shared_ptr<TTimerThread> TTimerThread::Create(TThreadedTimer* owner)
{
    WatchApplicationQuit();
    std::shared_ptr<TTimerThread> worker(new TTimerThread(owner));
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kStackSize);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    auto* self = new std::shared_ptr<TTimerThread>(worker);
    // Known before the worker runs: Terminate reads it under the lock.
    std::lock_guard lock(worker->m_mutex);
    pthread_t thread;
    const int err = pthread_create(&thread, &attr, &TTimerThread::Run, self);
    pthread_attr_destroy(&attr);
    if (err != 0) {
        delete self;
        throw std::system_error(err, std::generic_category(), "cannot start a timer thread");
    }
    worker->m_thread = thread;
    return worker;
}

TTimerThread::TTimerThread(TThreadedTimer* owner)
    : m_owner(owner)
    , m_handOver(owner)
{ }

TTimerThread::~TTimerThread() = default;

bool TTimerThread::ApplicationTerminating()
{
    return applicationTerminating;
}

void TTimerThread::Suspend()
{
    std::lock_guard lock(m_mutex);
    m_parked = true;
}

void TTimerThread::Resume()
{
    std::lock_guard lock(m_mutex);
    m_parked = false;
    m_changed.notify_all();
}

bool TTimerThread::Suspended() const
{
    std::lock_guard lock(m_mutex);
    return m_parked;
}

bool TTimerThread::Terminated() const
{
    std::lock_guard lock(m_mutex);
    return m_terminated;
}

void TTimerThread::SetWaitInterval(std::uint32_t milliseconds)
{
    std::lock_guard lock(m_mutex);
    m_waitInterval = milliseconds;
}

std::uint32_t TTimerThread::WaitInterval() const
{
    std::lock_guard lock(m_mutex);
    return m_waitInterval;
}

void TTimerThread::SetPriority(TThreadPriority priority)
{
    std::lock_guard lock(m_mutex);
    m_priority = priority;
}

std::exception_ptr TTimerThread::PendingException() const
{
    std::lock_guard lock(m_mutex);
    return m_pendingException;
}

bool TTimerThread::Synchronize(const std::function<void()>& call)
{
    return m_handOver.Run(call);
}

void TTimerThread::Terminate()
{
    // Closed first: a worker waiting for its tick on the GUI thread (this thread) returns now.
    m_handOver.Close();
    std::unique_lock lock(m_mutex);
    m_terminated = true;
    m_owner = nullptr;
    m_parked = false;
    m_changed.notify_all();
    if (!pthread_equal(pthread_self(), m_thread))
        m_changed.wait(lock, [this] { return !m_inTick; });
}

bool TTimerThread::StopRequested() const
{
    return m_terminated || m_owner == nullptr || applicationTerminating;
}

void TTimerThread::ApplyPriority()
{
    if (m_priority == m_appliedPriority)
        return;
    m_appliedPriority = m_priority;
    sched_param param {};
    const int policy = m_priority == TThreadPriority::tpIdle ? SCHED_IDLE : SCHED_OTHER;
    pthread_setschedparam(pthread_self(), policy, &param);
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), NiceOf(m_priority));
}

void TTimerThread::ReportTickFailure(TThreadedTimer* owner)
{
    ReportApplicationException(owner, m_pendingException);
}

void TTimerThread::Execute()
{
    std::unique_lock lock(m_mutex);
    while (!m_terminated) {
        if (!WaitUntilRunning(lock))
            continue;
        ApplyPriority();
        if (!WaitForTick(lock))
            continue;
        TThreadedTimer* owner = m_owner;
        if (!owner->Enabled())
            continue;
        if (owner->SyncEvent())
            TickOnGuiThread(lock, owner);
        else
            TickOnWorker(lock, owner);
    }
}

bool TTimerThread::WaitUntilRunning(std::unique_lock<std::mutex>& lock)
{
    if (m_parked) {
        m_afterTick = false; // a restart begins a fresh wait
        m_changed.wait(lock, [this] { return m_terminated || !m_parked; });
    }
    if (StopRequested()) {
        // Quitting: idle until the owner terminates us.
        m_changed.wait(lock, [this] { return m_terminated; });
        return false;
    }
    return true;
}

bool TTimerThread::WaitForTick(std::unique_lock<std::mutex>& lock)
{
    if (!m_waitInProgress) {
        m_waitInProgress = true;
        // After a tick the next wait ends one interval after the last one ended, so the time the
        // tick took is not added; a tick late by a whole interval is not made up.
        const auto now = std::chrono::steady_clock::now();
        const auto interval = std::chrono::milliseconds(m_waitInterval);
        m_waitEnd
            = m_afterTick && m_waitEnd + interval > now ? m_waitEnd + interval : now + interval;
    }
    // Only termination cuts the wait short.
    m_changed.wait_until(lock, m_waitEnd, [this] { return m_terminated; });
    if (m_terminated)
        return false;
    m_waitInProgress = false;
    m_afterTick = false;
    if (m_parked || StopRequested())
        return false;
    m_afterTick = true;
    return true;
}

void TTimerThread::TickOnGuiThread(std::unique_lock<std::mutex>& lock, TThreadedTimer* owner)
{
    lock.unlock();
    // Returns false without touching the owner once it is being destroyed.
    m_handOver.Run([owner] { owner->Tick(); });
    lock.lock();
}

void TTimerThread::TickOnWorker(std::unique_lock<std::mutex>& lock, TThreadedTimer* owner)
{
    m_inTick = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
        owner->Tick();
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    if (failure) {
        m_pendingException = failure;
        ReportTickFailure(owner);
        m_pendingException = nullptr;
    }
    m_inTick = false;
    m_changed.notify_all();
}

} // namespace animator
