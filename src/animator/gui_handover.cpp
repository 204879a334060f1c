#include "gui_handover.h"

#include "failure_report.h"

#include <QObject>
#include <QThread>

#include <condition_variable>
#include <mutex>

namespace animator {

struct TGuiHandOver::State
{
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
};

namespace {

struct PendingCall
{
    std::function<void()> call;
    bool done = false;
};

} // namespace

TGuiHandOver::TGuiHandOver(QObject* context)
    : m_state(std::make_shared<State>())
    , m_context(context)
    , m_thread(context->thread())
{ }

TGuiHandOver::~TGuiHandOver()
{
    Close();
}

bool TGuiHandOver::Run(const std::function<void()>& call)
{
    if (QThread::currentThread() == m_thread) {
        if (Closed())
            return false;
        call();
        return true;
    }
    auto pending = std::make_shared<PendingCall>();
    pending->call = call;
    std::unique_lock lock(m_state->mutex);
    if (m_state->closed)
        return false;
    // Posted under the lock: Close() takes it too, so the context is alive while posting.
    QMetaObject::invokeMethod(
        m_context,
        [state = m_state, pending, context = m_context] {
            {
                std::lock_guard guard(state->mutex);
                if (state->closed)
                    return;
            }
            try {
                pending->call();
            } catch (...) {
                ReportApplicationException(context, std::current_exception());
            }
            std::lock_guard guard(state->mutex);
            pending->done = true;
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    m_state->changed.wait(lock, [&] { return pending->done || m_state->closed; });
    return pending->done;
}

void TGuiHandOver::Close()
{
    std::lock_guard lock(m_state->mutex);
    m_state->closed = true;
    m_state->changed.notify_all();
}

bool TGuiHandOver::Closed() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->closed;
}

} // namespace animator
