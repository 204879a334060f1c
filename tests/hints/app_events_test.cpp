#include "base/error_report.h"
#include "hints/app_event_list.h"
#include "hints/app_events.h"
#include "hints/application.h"
#include "hints/hint_appearance.h"
#include "hints/hint_window.h"
#include "hints/shaped_hint_window.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using namespace hints;

namespace {

// Every test starts with a fresh application object and no components.
class AppEventsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application::shutdown();
        app = &Application::instance();
        base::SetErrorBox([this](const QString& text) { boxes.push_back(text); });
    }
    void TearDown() override
    {
        components.clear();
        owner.reset();
        Application::shutdown();
        base::SetErrorBox(nullptr);
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        SetHintAppearance(Rectangle, 1, false, taCenter);
    }
    TAppEvents* make()
    {
        components.push_back(std::make_unique<TAppEvents>(owner.get()));
        return components.back().get();
    }

    Application* app = nullptr;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    std::vector<std::unique_ptr<TAppEvents>> components;
    std::vector<QString> boxes;
    std::vector<std::string> calls;
};

TEST_F(AppEventsTest, LoadedPutsTheDesignedHintIntoEffectWhateverTheApplicationHad)
{
    app->setHintPause(10);
    app->setHintShortPause(20);
    app->setHintHidePause(30);
    app->setShowHint(false);
    app->setMouseDragThreshold(17);
    app->setBiDiMode(bdRightToLeft);
    const auto unseen = [this] {
        return std::tuple(app->updateFormatSettings(), app->showMainForm(),
            app->updateMetricSettings(), app->hintShortCuts(), app->mouseDragImmediate(),
            app->biDiKeyboard(), app->nonBiDiKeyboard());
    };
    const auto unseenBefore = unseen();
    TAppEvents* events = make();
    EXPECT_EQ(app->mainWindow(), owner.get());
    EXPECT_TRUE(events->Chained());
    // Before loading the getters show the application's values.
    EXPECT_EQ(events->HintPause(), 10);
    events->SetHintColor(QColor(255, 255, 0));
    EXPECT_EQ(app->hintColor(), QColor(255, 255, 0)); // forwarded at once
    auto* hinted = new QWidget(owner.get());
    hinted->setGeometry(0, 0, 100, 100);
    app->setControlHint(hinted, QStringLiteral("Подсказка"));
    owner->resize(300, 300);
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get()));
    events->Loaded();
    // Laid out left to right, Qt's own drag distance; what shows nothing keeps its value.
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(QGuiApplication::styleHints()->startDragDistance(), 5);
    EXPECT_TRUE(unseen() == unseenBefore);

    // Hints on, in the design's colour: half a second after the pointer rests (sooner when it
    // returns right after one), two and a half seconds on screen.
    const auto shown = [this] { return app->hintWindow() && app->hintWindow()->isVisible(); };
    const auto restAt = [this](QPoint at) { QTest::mouseMove(owner->windowHandle(), at); };
    restAt(QPoint(200, 200));
    QElapsedTimer clock;
    clock.start();
    restAt(QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitFor(shown, 3000));
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_EQ(app->hintWindow()->color(), QColor(255, 255, 0));
    restAt(QPoint(200, 200));
    EXPECT_FALSE(shown());
    clock.restart();
    restAt(QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitFor(shown, 3000));
    EXPECT_GE(clock.elapsed(), 40);
    EXPECT_LT(clock.elapsed(), 450);
    clock.restart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown(); }, 6000));
    EXPECT_GE(clock.elapsed(), 2300);
}

TEST_F(AppEventsTest, SettersForwardAndGettersReadTheApplication)
{
    TAppEvents* events = make();
    events->SetHintHidePause(1234);
    EXPECT_EQ(app->hintHidePause(), 1234);
    app->setHintHidePause(99);
    EXPECT_EQ(events->HintHidePause(), 99);
    events->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    events->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    events->SetMouseDragThreshold(9);
    EXPECT_EQ(QGuiApplication::styleHints()->startDragDistance(), 9);
    EXPECT_EQ(events->MouseDragThreshold(), 9);
    events->SetNonBiDiKeyboard(QStringLiteral("00000419"));
    EXPECT_EQ(app->nonBiDiKeyboard(), QStringLiteral("00000419"));
    events->SetHintShortCuts(false);
    EXPECT_FALSE(events->HintShortCuts());
}

TEST_F(AppEventsTest, HintColourRecoloursTheExistingWindowAndShowHintFreesIt)
{
    TAppEvents* events = make();
    events->Loaded();
    THintWindow* before = app->hintWindow();
    ASSERT_NE(before, nullptr);
    events->SetHintColor(QColor(1, 2, 3));
    EXPECT_EQ(before->color(), QColor(1, 2, 3));
    events->SetShowHint(false);
    EXPECT_EQ(app->hintWindow(), nullptr);
    events->SetShowHint(true);
    ASSERT_NE(app->hintWindow(), nullptr);
    EXPECT_EQ(app->hintWindow()->color(), QColor(1, 2, 3));
}

TEST_F(AppEventsTest, SetHintAppearanceReplacesTheWindowWithAShapedOne)
{
    TAppEvents* events = make();
    events->SetHintColor(QColor(255, 255, 0));
    events->Loaded();
    EXPECT_EQ(dynamic_cast<TShapedHintWindow*>(app->hintWindow()), nullptr);
    SetHintAppearance(Rectangle, 1, false, taCenter);
    auto* shaped = dynamic_cast<TShapedHintWindow*>(app->hintWindow());
    ASSERT_NE(shaped, nullptr);
    EXPECT_EQ(shaped->color(), QColor(255, 255, 0));
    EXPECT_EQ(CurrentHintAppearance().shadowDepth, 1);
    EXPECT_EQ(CurrentHintAppearance().alignment, taCenter);
}

TEST_F(AppEventsTest, DispatchRunsFromTheLastAddedToTheFirstThenThePrevious)
{
    app->events.OnHint = [this](QObject*) { calls.push_back("previous"); };
    TAppEvents* a = make();
    TAppEvents* b = make();
    TAppEvents* c = make();
    TAppEventList::instance().Add(b); // already listed: ignored
    EXPECT_EQ(TAppEventList::instance().Count(), 3);
    EXPECT_TRUE(TAppEventList::instance().Hooked());
    a->OnHint = [this](QObject*) { calls.push_back("a"); };
    c->OnHint = [this](QObject*) { calls.push_back("c"); };
    app->setHint(QStringLiteral("x")); // fires OnHint
    EXPECT_EQ(calls, (std::vector<std::string> { "c", "a", "previous" }));

    calls.clear();
    b->SetChained(false); // b has no handler but still ends the walk
    app->setHint(QStringLiteral("y"));
    EXPECT_EQ(calls, (std::vector<std::string> { "c" }));
}

TEST_F(AppEventsTest, HandledFlagStopsTheFourThatHaveOne)
{
    bool previousCalled = false;
    app->events.OnMessage = [&](QObject*, QEvent*, bool&) { previousCalled = true; };
    TAppEvents* a = make();
    TAppEvents* b = make();
    a->OnMessage = [this](QObject*, QEvent*, bool&) { calls.push_back("a"); };
    b->OnMessage = [this](QObject*, QEvent*, bool& handled) {
        calls.push_back("b");
        handled = true;
    };
    QEvent ev(QEvent::User);
    bool handled = false;
    app->events.OnMessage(nullptr, &ev, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(calls, (std::vector<std::string> { "b" }));
    EXPECT_FALSE(previousCalled);

    // Not handled: everyone runs, the previous one last.
    calls.clear();
    b->OnMessage = [this](QObject*, QEvent*, bool&) { calls.push_back("b"); };
    handled = false;
    app->events.OnMessage(nullptr, &ev, handled);
    EXPECT_EQ(calls, (std::vector<std::string> { "b", "a" }));
    EXPECT_TRUE(previousCalled);

    // The same flag stops an action before the previous handler.
    previousCalled = false;
    app->events.OnActionExecute = nullptr;
    TAppEventList::Remove(a);
    TAppEventList::Remove(b);
    app->events.OnActionExecute = [&](QAction*, bool&) { previousCalled = true; };
    TAppEvents* c = make();
    c->OnActionExecute = [](QAction*, bool& h) { h = true; };
    EXPECT_TRUE(app->executeAction(nullptr));
    EXPECT_FALSE(previousCalled);
}

TEST_F(AppEventsTest, HelpReturnsTheLastResult)
{
    EXPECT_FALSE(app->helpCommand(1, 0)); // no handler at all
    TAppEvents* a = make();
    TAppEvents* b = make();
    EXPECT_FALSE(app->helpCommand(1, 0)); // components without handlers
    a->OnHelp = [](quint16, qintptr, bool&) { return false; };
    b->OnHelp = [](quint16, qintptr, bool&) { return true; };
    EXPECT_FALSE(app->helpCommand(1, 0)); // b first, then a decides
    b->SetChained(false);
    EXPECT_TRUE(app->helpCommand(1, 0));
}

TEST_F(AppEventsTest, ExceptionFallsBackToTheStandardBox)
{
    TAppEvents* a = make();
    app->handleException(nullptr, std::runtime_error("Disk full"));
    EXPECT_EQ(boxes, (std::vector<QString> { QStringLiteral("Disk full.") }));

    std::string seen;
    a->OnException = [&](QObject*, const std::exception& e) { seen = e.what(); };
    app->runHandler(nullptr, [] { throw std::runtime_error("boom"); });
    EXPECT_EQ(seen, "boom");
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(AppEventsTest, NoComponentMeansTheStandardBoxToo)
{
    app->runHandler(nullptr, [] { throw std::runtime_error("Ошибка"); });
    EXPECT_EQ(boxes, (std::vector<QString> { QStringLiteral("Ошибка.") }));
}

TEST_F(AppEventsTest, EventFilterOffersKeysToOnMessageThenOnShortCutAndSeesMinimising)
{
    auto* edit = new QLineEdit(owner.get());
    TAppEvents* a = make();
    a->OnMessage = [this](QObject*, QEvent* event, bool& handled) {
        if (event->type() == QEvent::KeyPress) {
            calls.push_back("message");
            handled = static_cast<QKeyEvent*>(event)->key() == Qt::Key_C;
        }
    };
    a->OnShortCut = [this](QKeyEvent* key, bool& handled) {
        calls.push_back("shortcut");
        handled = key->key() == Qt::Key_B;
    };
    a->OnMinimize = [this](QObject*) { calls.push_back("minimize"); };
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get()));
    edit->setFocus();
    for (Qt::Key key : { Qt::Key_A, Qt::Key_B, Qt::Key_C })
        QTest::keyClick(owner->windowHandle(), key);
    owner->showMinimized();
    EXPECT_EQ(calls,
        (std::vector<std::string> {
            "message", "shortcut", "message", "shortcut", "message", "minimize" }));
    EXPECT_EQ(edit->text(), QStringLiteral("a")); // a handled key goes no further
}

TEST_F(AppEventsTest, SettingsChangedErrorsGoToTheApplication)
{
    TAppEvents* a = make();
    int fired = 0;
    a->OnSettingsChanged = [&](QObject*) {
        ++fired;
        throw std::runtime_error("bad theme");
    };
    QEvent change(QEvent::ThemeChange);
    QCoreApplication::sendEvent(owner.get(), &change);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(boxes, (std::vector<QString> { QStringLiteral("bad theme.") }));
}

TEST_F(AppEventsTest, LastComponentGoneRestoresTheHandlersItFound)
{
    int previous = 0;
    app->events.OnMinimize = [&](QObject*) { ++previous; };
    make();
    make();
    components.pop_back();
    EXPECT_TRUE(TAppEventList::instance().Hooked());
    components.pop_back();
    EXPECT_FALSE(TAppEventList::instance().Hooked());
    EXPECT_EQ(TAppEventList::instance().Count(), 0);
    ASSERT_TRUE(bool(app->events.OnMinimize));
    app->events.OnMinimize(nullptr);
    EXPECT_EQ(previous, 1);
    EXPECT_FALSE(bool(app->events.OnHint));
    EXPECT_FALSE(bool(app->screenEvents.OnActiveFormChange));
}

TEST_F(AppEventsTest, ScreenEventsAreChainedToo)
{
    TAppEvents* a = make();
    int n = 0;
    a->OnActiveControlChange = [&](QObject*) { ++n; };
    ASSERT_TRUE(bool(app->screenEvents.OnActiveControlChange));
    app->screenEvents.OnActiveControlChange(nullptr);
    EXPECT_EQ(n, 1);
}

} // namespace
