// The one click rule, as cards, buttons and animations meet it through the window.
#include "base/click_filter.h"

#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class ClickFilterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.setGeometry(100, 100, 200, 100);
        control = new QWidget(&window);
        control->setGeometry(10, 10, 50, 50);
        new base::ClickFilter(
            control, [this] { ++clicks; }, [this] { ++doubleClicks; });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWindow* handle() { return window.windowHandle(); }

    QWidget window;
    QWidget* control = nullptr;
    int clicks = 0;
    int doubleClicks = 0;
};

TEST_F(ClickFilterTest, PressAndReleaseOfTheLeftButtonInsideIsOneClick)
{
    QTest::mouseClick(handle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(handle(), Qt::RightButton, {}, QPoint(30, 30));
    QTest::mouseClick(handle(), Qt::MiddleButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ClickFilterTest, AReleaseOutsideOrAPressOutsideIsNoClick)
{
    QTest::mousePress(handle(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(handle(), QPoint(120, 30));
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, QPoint(120, 30));
    QTest::mousePress(handle(), Qt::LeftButton, {}, QPoint(120, 30));
    QTest::mouseMove(handle(), QPoint(30, 30));
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 0);
}

TEST_F(ClickFilterTest, ADoubleClickIsOneClickAndOneDoubleClick)
{
    // Sent to the window this is what a real double-click sends: press, release, double-click
    // press, release.
    QTest::mouseDClick(handle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(ClickFilterTest, ADisabledControlIsLeftAloneSoItsClicksGoToWhatLiesBelow)
{
    control->setEnabled(false);
    QTest::mouseClick(handle(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 0);
}

TEST(ClickFilterButtons, TheSecondPressOfADoubleClickPressesNoButton)
{
    QWidget window;
    window.resize(100, 60);
    auto* button = new QPushButton(QStringLiteral("Старт"), &window);
    button->setGeometry(10, 10, 60, 25);
    new base::ClickFilter(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(40, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->isDown());
}

} // namespace
