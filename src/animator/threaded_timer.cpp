#include "animator/threaded_timer.h"

#include "animator/failure_report.h"

#include <QTimer>

namespace animator {

using base::TNotifyEvent;

TThreadedTimer::TThreadedTimer(QObject* owner)
    : QObject(owner)
    , m_worker(TTimerThread::Create(this))
{ }

TThreadedTimer::~TThreadedTimer()
{
    Shutdown();
    m_timerWindow.reset();
}

void TThreadedTimer::Shutdown()
{
    m_destroying = true;
    m_enabled = false;
    {
        std::lock_guard lock(m_onTimerMutex);
        m_onTimer = nullptr;
    }
    m_worker->Terminate();
    if (m_timerWindow)
        m_timerWindow->stop();
}

void TThreadedTimer::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    ApplyTimerState();
}

void TThreadedTimer::SetInterval(std::uint32_t milliseconds)
{
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    ApplyTimerState();
}

void TThreadedTimer::SetSyncEvent(bool syncEvent)
{
    m_syncEvent = syncEvent;
}

void TThreadedTimer::SetThreaded(bool threaded)
{
    if (threaded == m_threaded)
        return;
    m_threaded = threaded;
    ApplyTimerState();
}

void TThreadedTimer::SetThreadPriority(TThreadPriority priority)
{
    if (priority == m_priority)
        return;
    m_priority = priority;
    if (m_threaded)
        ApplyTimerState();
}

TNotifyEvent TThreadedTimer::OnTimer() const
{
    std::lock_guard lock(m_onTimerMutex);
    return m_onTimer;
}

void TThreadedTimer::SetOnTimer(TNotifyEvent handler)
{
    bool assignmentChanged;
    {
        std::lock_guard lock(m_onTimerMutex);
        assignmentChanged = static_cast<bool>(handler) != static_cast<bool>(m_onTimer);
        m_onTimer = std::move(handler);
    }
    if (assignmentChanged)
        ApplyTimerState();
}

bool TThreadedTimer::RunSynchronized(const std::function<void()>& method)
{
    return m_worker->Synchronize(method);
}

bool TThreadedTimer::TimerWindowActive() const
{
    return m_timerWindow && m_timerWindow->isActive();
}

void TThreadedTimer::Tick()
{
    if (!m_enabled || m_destroying)
        return;
    const TNotifyEvent handler = OnTimer();
    if (handler)
        handler(this);
}

bool TThreadedTimer::TicksWanted() const
{
    std::lock_guard lock(m_onTimerMutex);
    return m_interval != 0 && m_enabled && m_onTimer;
}

void TThreadedTimer::ApplyTimerState()
{
    if (m_threaded) {
        m_timerWindow.reset();
        m_worker->Suspend();
        m_worker->SetWaitInterval(m_interval);
        if (TicksWanted()) {
            m_worker->SetPriority(m_priority);
            m_worker->Resume();
        }
        return;
    }
    m_worker->Suspend();
    if (m_timerWindow) {
        m_timerWindow->stop();
    } else {
        m_timerWindow = std::make_unique<QTimer>();
        m_timerWindow->setTimerType(Qt::PreciseTimer);
        connect(m_timerWindow.get(), &QTimer::timeout, this, &TThreadedTimer::TimerWindowTick);
    }
    if (TicksWanted()) {
        m_timerWindow->start(static_cast<int>(std::min<std::uint32_t>(m_interval, INT32_MAX)));
        if (!m_timerWindow->isActive())
            throw EOutOfResources("Not enough timers available");
    }
}

void TThreadedTimer::TimerWindowTick()
{
    try {
        Tick();
    } catch (...) {
        ReportApplicationException(this, std::current_exception());
    }
}

} // namespace animator
