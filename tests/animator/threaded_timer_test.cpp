#include "animator/threaded_timer.h"
#include "base/error_report.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace animator;
using namespace base;
using animator_test::Spin;
using animator_test::WaitUntil;

namespace {

class ThreadedTimerTest : public ::testing::Test
{
protected:
    void TearDown() override { base::SetExceptionHandler(nullptr); }

    // A handler counting its calls and noting the thread of the last one.
    TNotifyEvent Counting()
    {
        return [this](QObject* sender) {
            EXPECT_EQ(sender, timer.get());
            lastThread = QThread::currentThread();
            ++ticks;
        };
    }

    std::unique_ptr<TThreadedTimer> timer = std::make_unique<TThreadedTimer>();
    std::atomic<int> ticks { 0 };
    std::atomic<QThread*> lastThread { nullptr };
};

TEST_F(ThreadedTimerTest, StaysParkedUntilHandlerAssignedThenTicksOnGuiThread)
{
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_TRUE(timer->SyncEvent());
    EXPECT_TRUE(timer->Threaded());
    timer->SetInterval(10);
    EXPECT_TRUE(timer->WorkerThread().Suspended());
    Spin(60);
    EXPECT_EQ(ticks, 0);

    timer->SetOnTimer(Counting());
    EXPECT_FALSE(timer->WorkerThread().Suspended());
    EXPECT_EQ(timer->WorkerThread().WaitInterval(), 10u);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(lastThread, QThread::currentThread());
}

class IdleTimerTest : public ThreadedTimerTest, public ::testing::WithParamInterface<bool>
{ };

TEST_P(IdleTimerTest, IntervalZeroAndEnabledOffKeepItIdleUntilRestarted)
{
    timer->SetThreaded(GetParam());
    timer->SetInterval(0);
    timer->SetOnTimer(Counting());
    Spin(60);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(timer->WorkerThread().Suspended());
    EXPECT_FALSE(timer->TimerWindowActive());

    timer->SetInterval(10);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));

    timer->SetEnabled(false);
    EXPECT_TRUE(timer->WorkerThread().Suspended());
    EXPECT_FALSE(timer->TimerWindowActive());
    const int stoppedAt = ticks;
    Spin(60);
    EXPECT_EQ(ticks, stoppedAt);

    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= stoppedAt + 2; }));
}

INSTANTIATE_TEST_SUITE_P(ThreadedAndMessageMode, IdleTimerTest, ::testing::Bool());

TEST_F(ThreadedTimerTest, TickAlreadyHandedOverDoesNotRunOnceDisabled)
{
    timer->SetInterval(5);
    timer->SetOnTimer(Counting());
    // The GUI thread is busy: the worker's tick waits in the queue.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(ticks, 0);
    timer->SetEnabled(false);
    Spin(60);
    EXPECT_EQ(ticks, 0);

    // The same with the timer left on: the queued tick does run.
    timer->SetEnabled(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(ticks, 0);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 1; }));
}

TEST_F(ThreadedTimerTest, SettingCurrentValuesDoesNotRestartTheTimer)
{
    // In message mode every restart begins a new period, so one would delay the tick.
    timer->SetThreaded(false);
    timer->SetInterval(300);
    timer->SetOnTimer(Counting());
    QElapsedTimer clock;
    clock.start();
    Spin(150);
    timer->SetInterval(300);
    timer->SetEnabled(true);
    timer->SetThreaded(false);
    timer->SetThreadPriority(TThreadPriority::tpNormal);
    timer->SetOnTimer(Counting()); // assigned before and after
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 1; }));
    EXPECT_LT(clock.elapsed(), 420);
}

TEST_F(ThreadedTimerTest, APrioritySetWhileNotThreadedIsKeptAndTakenOnceThreaded)
{
    timer->SetThreaded(false);
    timer->SetThreadPriority(TThreadPriority::tpLower);
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpLower);
    // The worker's niceness, seen from a tick running on it.
    std::atomic<int> workerNice { -100 };
    timer->SetSyncEvent(false);
    timer->SetInterval(5);
    timer->SetOnTimer([&](QObject*) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            workerNice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
    });
    timer->SetThreaded(true);
    ASSERT_TRUE(WaitUntil([&] { return workerNice != -100; }, 10000));
    // tpLower is niceness 5; only a process already nicer than that may not raise it back.
    const int processNice = ::getpriority(PRIO_PROCESS, 0);
    EXPECT_EQ(workerNice.load(), processNice <= 5 || ::geteuid() == 0 ? 5 : processNice);
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpLower);
}

TEST_F(ThreadedTimerTest, IntervalSetByATickAppliesFromTheNextWait)
{
    std::vector<qint64> at;
    QElapsedTimer clock;
    timer->SetInterval(10);
    timer->SetOnTimer([&](QObject*) {
        at.push_back(clock.elapsed());
        timer->SetInterval(250);
        EXPECT_FALSE(timer->WorkerThread().Suspended());
    });
    clock.start();
    ASSERT_TRUE(WaitUntil([&] { return at.size() >= 2; }));
    EXPECT_LT(at[0], 200);
    EXPECT_GE(at[1] - at[0], 240);
}

TEST_F(ThreadedTimerTest, RestartKeepsAWaitInProgressButNotOneThatEndedWhileStopped)
{
    std::vector<qint64> at;
    QElapsedTimer clock;
    timer->SetInterval(300);
    timer->SetOnTimer([&](QObject*) { at.push_back(clock.elapsed()); });
    clock.start();
    Spin(100);
    timer->SetEnabled(false);
    Spin(50);
    timer->SetEnabled(true); // the wait begun at 0 still ends at 300
    ASSERT_TRUE(WaitUntil([&] { return at.size() == 1; }));
    EXPECT_GE(at[0], 290);
    EXPECT_LT(at[0], 420);

    Spin(100);
    timer->SetEnabled(false); // the next wait ends while stopped and is dropped
    Spin(400);
    const qint64 restarted = clock.elapsed();
    timer->SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return at.size() == 2; }));
    EXPECT_GE(at[1] - restarted, 290);
    EXPECT_LT(at[1] - restarted, 420);
}

TEST_F(ThreadedTimerTest, UnsynchronisedTicksRunOnTheWorkerAndFailuresAreReported)
{
    std::vector<std::pair<QObject*, std::string>> reports;
    base::SetExceptionHandler(
        [&](QObject* sender, const std::exception& e) { reports.emplace_back(sender, e.what()); });
    timer->SetSyncEvent(false);
    timer->SetInterval(5);
    timer->SetOnTimer([this](QObject*) {
        lastThread = QThread::currentThread();
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
    });
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3 && !reports.empty(); }));
    EXPECT_NE(lastThread, QThread::currentThread());
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports.front().first, timer.get());
    EXPECT_EQ(reports.front().second, "tick failed");
}

TEST_F(ThreadedTimerTest, SynchronisedTickFailureIsReportedAndTicksGoOn)
{
    std::vector<std::string> reports;
    base::SetExceptionHandler(
        [&](QObject*, const std::exception& e) { reports.emplace_back(e.what()); });
    timer->SetInterval(5);
    timer->SetOnTimer([this](QObject*) {
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
    });
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(reports, std::vector<std::string> { "tick failed" });
}

TEST_F(ThreadedTimerTest, MessageModeTimerFailureIsReportedAndTicksGoOn)
{
    std::vector<std::string> reports;
    base::SetExceptionHandler(
        [&](QObject*, const std::exception& e) { reports.emplace_back(e.what()); });
    timer->SetThreaded(false);
    timer->SetInterval(5);
    timer->SetOnTimer([this](QObject*) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
    });
    EXPECT_TRUE(timer->TimerWindowActive());
    EXPECT_TRUE(timer->WorkerThread().Suspended());
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(reports, std::vector<std::string> { "tick failed" });

    timer->SetThreaded(true);
    EXPECT_FALSE(timer->TimerWindowActive());
    EXPECT_FALSE(timer->WorkerThread().Suspended());
}

TEST_F(ThreadedTimerTest, DestroyingAnActiveTimerReturnsAtOnceAndCallsNothing)
{
    timer->SetInterval(5000);
    timer->SetOnTimer(Counting());
    Spin(20);
    QElapsedTimer clock;
    clock.start();
    timer.reset();
    EXPECT_LT(clock.elapsed(), 1000);

    // A tick already handed over to the GUI thread is dropped with the timer.
    timer = std::make_unique<TThreadedTimer>();
    timer->SetInterval(5);
    timer->SetOnTimer(Counting());
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    timer.reset();
    Spin(40);
    EXPECT_EQ(ticks, 0);
}

TEST_F(ThreadedTimerTest, DestroyingWaitsForAnUnsynchronisedTickInProgress)
{
    std::atomic<bool> inTick { false };
    std::atomic<bool> tickDone { false };
    timer->SetSyncEvent(false);
    timer->SetInterval(5);
    timer->SetOnTimer([&](QObject*) {
        if (tickDone)
            return;
        inTick = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        tickDone = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return inTick.load(); }));
    timer.reset();
    EXPECT_TRUE(tickDone);
}

TEST_F(ThreadedTimerTest, RunSynchronizedFromAnotherThreadRunsOnTheGuiThread)
{
    timer->SetInterval(0);
    QThread* ranOn = nullptr;
    bool returned = false;
    std::atomic<bool> finished { false };
    std::thread other([&] {
        returned = timer->RunSynchronized([&] { ranOn = QThread::currentThread(); });
        finished = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return finished.load(); }));
    other.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOn, QThread::currentThread());
}

} // namespace
