#pragma once
// Hands a call from any thread to the thread of a context object (the GUI thread) and waits until
// it has run there, like a blocking queued call. Unlike one, the wait also ends when the hand-over
// is closed: the owner of the context closes it before it is destroyed, so a worker never waits for
// a call that will not run and never posts to an object that is going away.

#include <functional>
#include <memory>

class QObject;
class QThread;

namespace animator {

class TGuiHandOver
{
public:
    // `context` must live on the GUI thread; close the hand-over before destroying it.
    explicit TGuiHandOver(QObject* context);
    ~TGuiHandOver();
    TGuiHandOver(const TGuiHandOver&) = delete;
    TGuiHandOver& operator=(const TGuiHandOver&) = delete;

    // Runs `call` on the context's thread: directly when already there, otherwise queued while the
    // caller waits. Returns true when the call ran, false when the hand-over was closed first (the
    // call then never runs). A failure thrown by a queued call is reported to the application
    // (failure_report.h) with the context as sender; a direct call lets it propagate.
    bool Run(const std::function<void()>& call);

    // From the context's thread: no new call is accepted, queued ones are dropped, and every
    // waiting caller returns false at once. Idempotent.
    void Close();
    bool Closed() const;

    // Queues `call` to the thread of `context` (a QObject of that thread) without waiting. The
    // call is dropped when `context` is destroyed first. Callers guarantee `context` is alive
    // while this runs.
    static void Post(QObject* context, std::function<void()> call);

private:
    struct State;
    std::shared_ptr<State> m_state;
    QObject* m_context;
    QThread* m_thread;
};

} // namespace animator
