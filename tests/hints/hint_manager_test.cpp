#include "hints/app_events.h"
#include "hints/application.h"
#include "hints/hint_appearance.h"
#include "hints/hint_manager.h"
#include "hints/shaped_hint_window.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace hints;

namespace {


// A window with the hinted list at (40, 30) and a plain button-sized widget beside it. The
// pauses are shortened so that the rules can be watched quickly.
class HintManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XCURSOR_SIZE", "20");
        Application::shutdown();
        app = &Application::instance();
        form = std::make_unique<QWidget>();
        form->setGeometry(0, 0, 700, 450);
        list = new QTableWidget(3, 3, form.get());
        list->setGeometry(40, 30, 508, 320);
        other = new QWidget(form.get());
        other->setGeometry(600, 30, 60, 60);
        events = new TAppEvents(form.get());
        events->SetHintColor(QColor(255, 255, 0));
        events->SetHintPause(pause);
        events->SetHintShortPause(shortPause);
        events->SetHintHidePause(hidePause);
        events->Loaded();
        SetHintAppearance(Rectangle, 1, false, taCenter);
        // The shaped window, with a known screen instead of grabbing the real one.
        app->setHintWindowClass([this] {
            auto w = std::make_unique<TShapedHintWindow>();
            screen.attach(*w);
            return w;
        });
        app->setShowHint(false);
        app->setShowHint(true);
        app->setControlHint(list, test::kColumnHint);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        // Qt drops a move to where the pointer already is: start from a place no test uses.
        moveTo(QPoint(3, 3));
    }
    void TearDown() override
    {
        form.reset();
        Application::shutdown();
        SetHintAppearance(Rectangle, 1, false, taCenter);
        qunsetenv("XCURSOR_SIZE");
    }

    void moveTo(QPoint local)
    {
        QTest::mouseMove(form->windowHandle(), local);
        screen.pointer = form->mapToGlobal(local);
    }
    bool shown() const { return app->hintWindow() && app->hintWindow()->isVisible(); }
    bool waitShown(int ms)
    {
        return QTest::qWaitFor([this] { return shown(); }, ms);
    }
    bool waitHidden(int ms)
    {
        return QTest::qWaitFor([this] { return !shown(); }, ms);
    }

    const int pause = 120;
    const int shortPause = 10;
    const int hidePause = 300;
    test::FakeScreen screen;
    Application* app = nullptr;
    std::unique_ptr<QWidget> form;
    QTableWidget* list = nullptr;
    QWidget* other = nullptr;
    TAppEvents* events = nullptr;
};

TEST_F(HintManagerTest, FindsTheWindowsPlaceFromThePointerWhereQtMisplacesIt)
{
    // Some window managers never tell Qt where they framed a window (weston's XWayland).
    const QPoint pointer = form->mapToGlobal(QPoint(200, 200)) + QPoint(300, 200);
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 200), QPointF(pointer), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->windowHandle(), &move);
    screen.pointer = pointer;
    ASSERT_TRUE(waitShown(2000));
    EXPECT_EQ(app->hintWindow()->geometry().topLeft(), pointer + QPoint(0, 20));
    // All of it lies over the window: what is beneath comes from the window, not the screen.
    EXPECT_TRUE(screen.grabs.empty());
}

TEST_F(HintManagerTest, ShowsBelowThePointerAfterThePauseAndHidesAfterTheHidePause)
{
    QElapsedTimer clock;
    moveTo(QPoint(200, 200));
    clock.start();
    EXPECT_EQ(app->hint(), test::kColumnHint);
    ASSERT_TRUE(waitShown(2000));
    EXPECT_GE(clock.elapsed(), pause - 5);
    const QPoint pointer = form->mapToGlobal(QPoint(200, 200));
    EXPECT_EQ(app->hintWindow()->geometry().topLeft(), pointer + QPoint(0, 20));
    EXPECT_EQ(app->hintWindow()->text(), test::kColumnHint);
    EXPECT_EQ(app->hintWindow()->color(), QColor(255, 255, 0));

    // Moving within the list keeps it; it hides after the hide pause and stays hidden.
    moveTo(QPoint(210, 205));
    EXPECT_TRUE(shown());
    ASSERT_TRUE(waitHidden(2000));
    EXPECT_GE(clock.elapsed(), pause + hidePause - 20);
    moveTo(QPoint(220, 210));
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());

    // Out and back in: it shows again.
    moveTo(QPoint(20, 20));
    QTest::qWait(pause + 100);
    moveTo(QPoint(220, 210));
    EXPECT_TRUE(waitShown(2000));
}

TEST_F(HintManagerTest, PointerMustComeToRest)
{
    moveTo(QPoint(100, 100));
    for (int i = 1; i <= 6; ++i) {
        QTest::qWait(pause / 2);
        moveTo(QPoint(100 + i, 100));
    }
    EXPECT_FALSE(shown());
    EXPECT_TRUE(waitShown(2000));
}

TEST_F(HintManagerTest, LeavingTheListHidesAtOnce)
{
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    moveTo(QPoint(620, 50)); // over the other control, which has no hint
    EXPECT_FALSE(shown());
    EXPECT_TRUE(app->hint().isEmpty());
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());
}

TEST_F(HintManagerTest, LeavingTheWindowHidesAtOnce)
{
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form->windowHandle(), &leave);
    EXPECT_FALSE(shown());
}

TEST_F(HintManagerTest, ReturningRightAfterAHintUsesTheShortPause)
{
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    moveTo(QPoint(20, 20));
    EXPECT_FALSE(shown());
    QElapsedTimer clock;
    moveTo(QPoint(200, 200));
    clock.start();
    ASSERT_TRUE(waitShown(2000));
    EXPECT_LT(clock.elapsed(), pause);
}

TEST_F(HintManagerTest, KeyPressEndsTheHintUntilThePointerMoves)
{
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    QTest::keyClick(form->windowHandle(), Qt::Key_A);
    EXPECT_FALSE(shown());
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());
    moveTo(QPoint(205, 200));
    EXPECT_TRUE(waitShown(2000));
}

TEST_F(HintManagerTest, MousePressEndsTheHintAndAPressWhileWaitingCancelsIt)
{
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_FALSE(shown());

    moveTo(QPoint(230, 200));
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, QPoint(230, 200));
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, QPoint(230, 200));
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());
}

TEST_F(HintManagerTest, OnlyHintedControlsShowAHint)
{
    moveTo(QPoint(620, 50));
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());
    app->setControlHint(list, QString());
    moveTo(QPoint(200, 200));
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());
}

TEST_F(HintManagerTest, ShowHintHandlerCanChangeOrRefuse)
{
    bool refuse = true;
    events->OnShowHint = [&](QString& text, bool& canShow, THintInfo& info) {
        EXPECT_EQ(info.HintControl, list);
        EXPECT_EQ(info.HideTimeout, hidePause);
        canShow = !refuse;
        text = QStringLiteral("other");
    };
    moveTo(QPoint(200, 200));
    QTest::qWait(pause * 2);
    EXPECT_FALSE(shown());
    refuse = false;
    moveTo(QPoint(20, 20));
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    EXPECT_EQ(app->hintWindow()->text(), QStringLiteral("other"));
}

TEST_F(HintManagerTest, PartAfterTheBarIsNotShown)
{
    app->setControlHint(list, QStringLiteral("short|long help"));
    moveTo(QPoint(200, 200));
    ASSERT_TRUE(waitShown(2000));
    EXPECT_EQ(app->hintWindow()->text(), QStringLiteral("short"));
}

TEST(PointerImageHeightTest, CustomPixmapThenEnvironmentThenDefault)
{
    qunsetenv("XCURSOR_SIZE");
    QWidget w;
    EXPECT_EQ(HintManager::PointerImageHeight(&w), 32);
    qputenv("XCURSOR_SIZE", "24");
    EXPECT_EQ(HintManager::PointerImageHeight(&w), 24);
    QPixmap pm(16, 18);
    pm.fill(Qt::black);
    w.setCursor(QCursor(pm));
    EXPECT_EQ(HintManager::PointerImageHeight(&w), 18);
    qunsetenv("XCURSOR_SIZE");
}

} // namespace
