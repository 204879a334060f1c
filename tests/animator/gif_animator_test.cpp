#include "animator/gif_animator.h"
#include "gif_fixtures.h"
#include "test_support.h"

#include <QPainter>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>

using namespace animator;
using namespace base;
using namespace animator_test;

namespace {

// Records which frames each composition draws, and every event with its thread.
class RecordingAnimator : public TGIFAnimator
{
public:
    explicit RecordingAnimator(QWidget* parent = nullptr)
        : TGIFAnimator(parent)
    {
        SetOnStart([this](QObject* s) { Record("start", s); });
        SetOnStop([this](QObject* s) { Record("stop", s); });
        SetOnChange([this](QObject* s) { Record("change", s); });
        SetOnFrameChanged([this](QObject* s) { Record("frame", s); });
    }

    using TGIFAnimator::ComposeFrame;

    void Load(const QByteArray& formData) { Image().ReadFormData(formData); }
    QImage Compose(int index)
    {
        drawn.clear();
        TColor transColor = clNone;
        return ComposeFrame(index, transColor);
    }
    int Count(const std::string& event) const
    {
        auto it = events.find(event);
        return it == events.end() ? 0 : it->second;
    }

    std::vector<int> drawn;
    std::map<std::string, int> events;
    std::vector<int> framesSeen;
    bool eventsOffGuiThread = false;

protected:
    void DrawFrame(QPainter& canvas, gif::TGIFFrame& frame, int index) override
    {
        drawn.push_back(index);
        TGIFAnimator::DrawFrame(canvas, frame, index);
    }

private:
    void Record(const std::string& event, QObject* sender)
    {
        EXPECT_EQ(sender, this);
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            eventsOffGuiThread = true;
        ++events[event];
        if (event == "frame")
            framesSeen.push_back(FrameIndex());
    }
};

class GIFAnimatorTest : public ::testing::Test
{
protected:
    GIFAnimatorTest()
    {
        page.resize(800, 600);
        QPalette p = page.palette();
        p.setColor(QPalette::Window, QColor(10, 20, 30));
        page.setPalette(p);
        page.setAutoFillBackground(true);
    }

    QWidget page;
    RecordingAnimator animator { &page };
};

TEST_F(GIFAnimatorTest, StartsWithItsDefaults)
{
    EXPECT_FALSE(animator.Animate());
    EXPECT_TRUE(animator.AutoSize());
    EXPECT_TRUE(animator.Loop());
    EXPECT_TRUE(animator.Transparent());
    EXPECT_FALSE(animator.Center());
    EXPECT_FALSE(animator.Stretch());
    EXPECT_FALSE(animator.AsyncDrawing());
    EXPECT_EQ(animator.FrameIndex(), 0);
    EXPECT_TRUE(animator.Image().Empty());
    EXPECT_EQ(animator.size(), QSize(105, 105));
    EXPECT_TRUE(animator.FrameTimer().Enabled());
    EXPECT_EQ(animator.FrameTimer().Interval(), 1000u);
    EXPECT_TRUE(animator.FrameTimer().WorkerThread().Suspended());
}

TEST_F(GIFAnimatorTest, OneFrameImageNeverTicksButStillStarts)
{
    animator.Load(MakeTimedGif({ 10 }));
    EXPECT_EQ(animator.Count("change"), 1);
    EXPECT_EQ(animator.FrameTimer().Interval(), 0u);
    page.show();
    animator.SetAnimate(true);
    EXPECT_TRUE(animator.Animate());
    EXPECT_EQ(animator.Count("start"), 1);
    EXPECT_TRUE(animator.FrameTimer().WorkerThread().Suspended());
    Spin(120);
    EXPECT_EQ(animator.Count("frame"), 0);
    EXPECT_EQ(animator.FrameIndex(), 0);
    animator.SetAnimate(true); // the current value: nothing
    EXPECT_EQ(animator.Count("start"), 1);
}

struct DelayCase
{
    int delayCs;
    unsigned expectedMs;
};

class FrameDelayTest : public GIFAnimatorTest, public ::testing::WithParamInterface<DelayCase>
{ };

TEST_P(FrameDelayTest, DelayIsClampedTo50To10000Ms)
{
    animator.Load(MakeTimedGif({ GetParam().delayCs, 7 }));
    EXPECT_EQ(animator.CurrentFrameDelay(), int(GetParam().expectedMs));
    EXPECT_EQ(animator.FrameTimer().Interval(), GetParam().expectedMs);
    animator.SetFrameIndex(1);
    EXPECT_EQ(animator.FrameTimer().Interval(), 70u);
}

INSTANTIATE_TEST_SUITE_P(Delays, FrameDelayTest,
    ::testing::Values(DelayCase { 0, 50 }, DelayCase { 4, 50 }, DelayCase { 5, 50 },
        DelayCase { 6, 60 }, DelayCase { 112, 1120 }, DelayCase { 1000, 10000 },
        DelayCase { 1001, 10000 }, DelayCase { 6000, 10000 }));

TEST_F(GIFAnimatorTest, WithoutLoopAPassEndsOnFrameZeroStopped)
{
    animator.Load(MakeTimedGif({ 0, 0, 0 }));
    page.show();
    animator.SetLoop(false);
    animator.SetAnimate(true);
    ASSERT_TRUE(WaitUntil([&] { return animator.Count("stop") == 1; }));
    EXPECT_EQ(animator.framesSeen, (std::vector<int> { 1, 2, 0 }));
    EXPECT_EQ(animator.FrameIndex(), 0);
    EXPECT_FALSE(animator.Animate());
    EXPECT_TRUE(animator.FrameTimer().WorkerThread().Suspended());

    // Started on the last frame, the first tick shows frame 0 and stops.
    animator.SetFrameIndex(2);
    animator.framesSeen.clear();
    animator.SetAnimate(true);
    ASSERT_TRUE(WaitUntil([&] { return animator.Count("stop") == 2; }));
    EXPECT_EQ(animator.framesSeen, (std::vector<int> { 0 }));
    EXPECT_EQ(animator.FrameIndex(), 0);
}

TEST_F(GIFAnimatorTest, LoopsForeverAndResumesWhereItStopped)
{
    animator.Load(MakeTimedGif({ 0, 0, 0 }));
    page.show();
    animator.SetAnimate(true);
    ASSERT_TRUE(WaitUntil([&] { return animator.framesSeen.size() >= 5; }));
    animator.SetAnimate(false);
    EXPECT_EQ(animator.Count("stop"), 1);
    const int stoppedOn = animator.FrameIndex();
    const std::size_t seen = animator.framesSeen.size();
    EXPECT_EQ(std::vector<int>(animator.framesSeen.begin(), animator.framesSeen.begin() + 5),
        (std::vector<int> { 1, 2, 0, 1, 2 }));
    Spin(120);
    EXPECT_EQ(animator.framesSeen.size(), seen);

    animator.SetAnimate(true);
    ASSERT_TRUE(WaitUntil([&] { return animator.framesSeen.size() > seen; }));
    EXPECT_EQ(animator.framesSeen[seen], (stoppedOn + 1) % 3);
}

TEST_F(GIFAnimatorTest, ThePicturesOwnLoopCountIsIgnored)
{
    page.show();
    for (const int loops : { 1, 3 }) {
        SCOPED_TRACE(loops);
        animator.Load(MakeTimedGif({ 0, 0, 0 }, 4, 4, loops));
        ASSERT_TRUE(animator.Image().HasLoopCount);
        ASSERT_EQ(animator.Image().LoopCount, loops);
        animator.framesSeen.clear();
        animator.SetAnimate(true);
        // More passes than the picture asks for: it plays on until it is stopped.
        const std::size_t wanted = 3 * std::size_t(loops + 1) + 1;
        ASSERT_TRUE(WaitUntil([&] { return animator.framesSeen.size() >= wanted; }, 10000));
        EXPECT_TRUE(animator.Animate());
        EXPECT_EQ(animator.Count("stop"), 0);
        animator.SetAnimate(false);
        animator.events.clear();
    }
}

TEST_F(GIFAnimatorTest, HiddenControlKeepsItsFrame)
{
    animator.Load(MakeTimedGif({ 0, 0, 0 }));
    page.show();
    animator.hide();
    animator.SetAnimate(true);
    Spin(150);
    EXPECT_EQ(animator.FrameIndex(), 0);
    EXPECT_EQ(animator.Count("frame"), 0);
}

TEST_F(GIFAnimatorTest, FrameIndexIgnoresOutOfRangeAndCurrentValues)
{
    animator.Load(MakeTimedGif({ 10, 20, 30 }));
    for (int ignored : { -1, 3, 0 }) {
        animator.SetFrameIndex(ignored);
        EXPECT_EQ(animator.FrameIndex(), 0);
    }
    EXPECT_EQ(animator.Count("frame"), 0);
    animator.SetFrameIndex(2);
    EXPECT_EQ(animator.FrameIndex(), 2);
    EXPECT_EQ(animator.FrameTimer().Interval(), 300u);
    EXPECT_EQ(animator.Count("frame"), 1);
    EXPECT_EQ(animator.Count("change"), 1); // only the load
}

TEST_F(GIFAnimatorTest, AutoSizeTakesTheLogicalScreenAndKeepsIt)
{
    const QByteArray picture = MakeGif(518, 389, { { 0, 0, 518, 389, 10, 1, -1, Blue } });
    animator.move(150, 94);
    animator.resize(50, 60);
    EXPECT_EQ(animator.size(), QSize(50, 60)); // empty picture: left alone
    animator.Load(picture);
    EXPECT_EQ(animator.geometry(), QRect(150, 94, 518, 389));
    animator.resize(105, 97);
    animator.setGeometry(6, 102, 107, 83);
    EXPECT_EQ(animator.geometry(), QRect(6, 102, 518, 389));

    // Designed with automatic sizing off: the designed size stays until it is switched on.
    RecordingAnimator designed(&page);
    designed.SetAutoSize(false);
    designed.setGeometry(256, 8, 137, 65);
    designed.Load(picture);
    EXPECT_EQ(designed.geometry(), QRect(256, 8, 137, 65));
    designed.move(150, 94);
    designed.SetAutoSize(true);
    EXPECT_EQ(designed.geometry(), QRect(150, 94, 518, 389));
}

TEST_F(GIFAnimatorTest, OnChangeFiresForNewPicturesOnly)
{
    animator.Load(MakeTimedGif({ 10, 10 }));
    EXPECT_EQ(animator.Count("change"), 1);
    animator.SetFrameIndex(1);
    animator.SetCenter(true);
    animator.SetStretch(true);
    animator.SetTransparent(false);
    animator.SetLoop(false);
    animator.SetAnimate(true);
    animator.SetAnimate(false);
    EXPECT_EQ(animator.Count("change"), 1);

    gif::TGIFImage other;
    other.ReadFormData(MakeTimedGif({ 20, 20, 20 }));
    animator.SetImage(&other);
    EXPECT_EQ(animator.Count("change"), 2);
    EXPECT_EQ(animator.Image().Count(), 3);
    EXPECT_EQ(other.Count(), 3); // the caller keeps its picture
    EXPECT_EQ(animator.FrameIndex(), other.FrameIndex);
    EXPECT_EQ(animator.FrameTimer().Interval(), 200u);
}

TEST_F(GIFAnimatorTest, HandlerAttachedAfterReadingIsNotCalledUntilTheNextPicture)
{
    TGIFAnimator control(&page);
    int calls = 0;
    control.Image().ReadFormData(MakeTimedGif({ 10, 10 }));
    control.SetOnChange([&](QObject*) { ++calls; });
    control.SetAnimate(true);
    control.SetAnimate(false);
    EXPECT_EQ(calls, 0);
    control.Image().ReadFormData(MakeTimedGif({ 10, 10 }));
    EXPECT_EQ(calls, 1);
}

TEST_F(GIFAnimatorTest, DestroyingARunningControlFiresNothing)
{
    for (bool async : { false, true }) {
        auto control = std::make_unique<RecordingAnimator>(&page);
        control->Load(MakeTimedGif({ 0, 0, 0 }));
        control->SetAsyncDrawing(async);
        control->show();
        page.show();
        control->SetAnimate(true);
        ASSERT_TRUE(WaitUntil([&] { return control->Count("frame") >= 2; }));
        std::atomic<int> after { 0 };
        for (auto setter : { &TGIFAnimator::SetOnStop, &TGIFAnimator::SetOnStart,
                 &TGIFAnimator::SetOnChange, &TGIFAnimator::SetOnFrameChanged })
            (control.get()->*setter)([&](QObject*) { ++after; });
        control.reset();
        Spin(60);
        EXPECT_EQ(after, 0) << "async " << async;
    }
}

TEST_F(GIFAnimatorTest, AsyncDrawingTicksOnTheWorkerAndHandsEventsToTheGuiThread)
{
    animator.Load(MakeTimedGif({ 0, 0, 0 }));
    animator.SetAsyncDrawing(true);
    EXPECT_FALSE(animator.FrameTimer().SyncEvent());
    page.show();
    animator.SetLoop(false);
    animator.SetAnimate(true);
    ASSERT_TRUE(WaitUntil([&] { return animator.Count("stop") == 1; }));
    EXPECT_EQ(animator.framesSeen, (std::vector<int> { 1, 2, 0 }));
    EXPECT_FALSE(animator.eventsOffGuiThread);
    EXPECT_FALSE(animator.Animate());
    animator.SetAsyncDrawing(false);
    EXPECT_TRUE(animator.FrameTimer().SyncEvent());
}

} // namespace
