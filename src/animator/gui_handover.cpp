#include "animator/gui_handover.h"

#include "animator/failure_report.h"

#include <QObject>
#include <QThread>

#include <condition_variable>
#include <mutex>

namespace animator {

namespace {

// One lock for every hand-over. A queued call is built (captures written) under it on the posting
// thread, and its body takes it before reading any capture on the receiving thread; contexts take
// it before they are destroyed, when Qt drops their pending calls. Qt's own event queue is not
// visible to the thread sanitizer, this lock is.
std::mutex handOverMutex;

struct PendingCall
{
    std::function<void()> call;
    bool done = false;
};

} // namespace

struct TGuiHandOver::State
{
    std::condition_variable changed;
    bool closed = false;
};

TGuiHandOver::TGuiHandOver(QObject* context)
    : m_state(std::make_shared<State>())
    , m_context(context)
    , m_thread(context->thread())
{ }

TGuiHandOver::~TGuiHandOver()
{
    Close();
}

void TGuiHandOver::Post(QObject* context, std::function<void()> call)
{
    std::lock_guard lock(handOverMutex);
    QMetaObject::invokeMethod(
        context,
        [call = std::move(call)]() mutable {
            std::function<void()> run;
            {
                std::lock_guard guard(handOverMutex);
                run = std::move(call);
            }
            run();
        },
        Qt::QueuedConnection);
}

bool TGuiHandOver::Run(const std::function<void()>& call)
{
    if (QThread::currentThread() == m_thread) {
        if (Closed())
            return false;
        call();
        return true;
    }
    std::unique_lock lock(handOverMutex);
    if (m_state->closed)
        return false;
    auto pending = std::make_shared<PendingCall>();
    pending->call = call;
    // Posted under the lock: Close() takes it too, so the context is alive while posting.
    QMetaObject::invokeMethod(
        m_context,
        [state = m_state, pending, context = m_context] {
            std::unique_lock guard(handOverMutex);
            if (state->closed)
                return;
            const std::function<void()> run = pending->call;
            guard.unlock();
            try {
                run();
            } catch (...) {
                ReportApplicationException(context, std::current_exception());
            }
            guard.lock();
            pending->done = true;
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    m_state->changed.wait(lock, [&] { return pending->done || m_state->closed; });
    return pending->done;
}

void TGuiHandOver::Close()
{
    std::lock_guard lock(handOverMutex);
    m_state->closed = true;
    m_state->changed.notify_all();
}

bool TGuiHandOver::Closed() const
{
    std::lock_guard lock(handOverMutex);
    return m_state->closed;
}

} // namespace animator
