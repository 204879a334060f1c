#include "animator/buffered_image_control.h"
#include "base/error_report.h"
#include "test_support.h"

#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace animator;
using animator_test::WaitUntil;

namespace {

// Paints a solid colour; can be told to fail half-way or to report a change while painting.
class ProbeControl : public TBufferedImageControl
{
public:
    using TBufferedImageControl::TBufferedImageControl;

    QColor picture = Qt::green;
    bool failHalfWay = false;
    bool changeWhilePainting = false;
    std::atomic<int> paints { 0 };
    std::atomic<QThread*> paintThread { nullptr };
    bool inPaintSeen = false;
    bool paintBeneath = false;

protected:
    void DrawPicture(QPainter& canvas) override
    {
        ++paints;
        paintThread = QThread::currentThread();
        inPaintSeen = InPaint();
        if (paintBeneath) {
            PaintParentBackground(this, canvas);
            return;
        }
        canvas.fillRect(0, 0, width() / 2, height(), picture);
        if (failHalfWay)
            throw std::runtime_error("paint failed");
        canvas.fillRect(rect(), picture);
        if (changeWhilePainting)
            RefreshAfterChange();
    }
};

class SolidWidget : public QWidget
{
public:
    SolidWidget(QWidget* parent, QColor colour)
        : QWidget(parent)
    {
        QPalette p = palette();
        p.setColor(QPalette::Window, colour);
        setPalette(p);
        setAutoFillBackground(true);
    }
};

class BufferedImageControlTest : public ::testing::Test
{
protected:
    BufferedImageControlTest()
    {
        page.resize(200, 150);
        QPalette p = page.palette();
        p.setColor(QPalette::Window, QColor(10, 20, 30));
        page.setPalette(p);
        page.setAutoFillBackground(true);
    }

    // What the window shows on screen (its backing store).
    QImage Screen() { return page.screen()->grabWindow(page.winId()).toImage(); }

    QWidget page;
};

TEST_F(BufferedImageControlTest, StartsOpaqueAt105PixelsInTheParentsColour)
{
    TBufferedImageControl control(&page);
    EXPECT_EQ(control.size(), QSize(105, 105));
    EXPECT_TRUE(control.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_TRUE(control.ParentColor());
    EXPECT_EQ(control.Color(), QColor(10, 20, 30));
    EXPECT_EQ(control.grab().toImage().pixelColor(50, 50), QColor(10, 20, 30));
    control.SetColor(Qt::red);
    EXPECT_FALSE(control.ParentColor());
    EXPECT_EQ(control.grab().toImage().pixelColor(50, 50), QColor(Qt::red));
}

TEST_F(BufferedImageControlTest, FailedPaintLeavesTheScreenAsItWas)
{
    ProbeControl control(&page);
    control.setGeometry(10, 10, 40, 40);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    control.repaint();
    ASSERT_EQ(Screen().pixelColor(15, 15), QColor(Qt::green));

    std::vector<std::string> reports;
    base::SetExceptionHandler([&](QObject* sender, const std::exception& e) {
        EXPECT_EQ(sender, &control);
        reports.emplace_back(e.what());
    });
    control.picture = Qt::blue;
    control.failHalfWay = true;
    control.repaint();
    const QImage screen = Screen();
    EXPECT_EQ(screen.pixelColor(15, 15), QColor(Qt::green)); // the half drawn would be blue
    EXPECT_EQ(screen.pixelColor(45, 45), QColor(Qt::green));
    EXPECT_TRUE(reports.empty()); // reported from the event loop, not inside the paint
    ASSERT_TRUE(WaitUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports, std::vector<std::string> { "paint failed" });
    base::SetExceptionHandler(nullptr);
}

TEST_F(BufferedImageControlTest, ChangeReportedWhilePaintingStartsNoFurtherPaint)
{
    ProbeControl control(&page);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    animator_test::Spin(30);
    control.changeWhilePainting = true;
    control.paints = 0;
    control.repaint();
    animator_test::Spin(50);
    EXPECT_EQ(control.paints, 1);
    EXPECT_TRUE(control.inPaintSeen);
    EXPECT_FALSE(control.InPaint());

    control.changeWhilePainting = false;
    control.RefreshAfterChange(); // outside a paint: invalidates
    ASSERT_TRUE(WaitUntil([&] { return control.paints == 2; }));
}

TEST_F(
    BufferedImageControlTest, PaintImmediatelyFromAnotherThreadPaintsOnTheGuiThreadBeforeReturning)
{
    ProbeControl control(&page);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    animator_test::Spin(30);
    control.paints = 0;
    std::atomic<int> paintsWhenReturned { -1 };
    std::thread worker([&] {
        control.PaintImmediately();
        paintsWhenReturned = control.paints.load();
    });
    ASSERT_TRUE(WaitUntil([&] { return paintsWhenReturned >= 0; }));
    worker.join();
    EXPECT_EQ(paintsWhenReturned, 1);
    EXPECT_EQ(control.paintThread, QThread::currentThread());
}

TEST_F(BufferedImageControlTest, ParentBackgroundShowsTheParentAndLowerSiblingsOnly)
{
    SolidWidget below(&page, Qt::blue);
    below.setGeometry(0, 0, 30, 30);
    ProbeControl control(&page);
    control.setGeometry(20, 20, 40, 40);
    control.paintBeneath = true;
    SolidWidget above(&page, Qt::red);
    above.setGeometry(50, 50, 30, 30);
    SolidWidget hidden(&page, Qt::yellow);
    hidden.setGeometry(20, 20, 5, 5);
    hidden.hide();
    hidden.stackUnder(&control);

    const QImage picture = control.grab().toImage();
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::blue)); // page (25, 25): lower sibling
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::blue)); // the hidden one is left out
    EXPECT_EQ(picture.pixelColor(15, 15), QColor(10, 20, 30)); // page (35, 35): the page
    EXPECT_EQ(picture.pixelColor(35, 35), QColor(10, 20, 30)); // page (55, 55): not the upper one
}

TEST_F(BufferedImageControlTest, ParentBackgroundWithoutParentDrawsNothing)
{
    ProbeControl control;
    control.paintBeneath = true;
    control.SetColor(Qt::magenta);
    EXPECT_EQ(control.grab().toImage().pixelColor(3, 3), QColor(Qt::magenta));
}

TEST_F(BufferedImageControlTest, ClickIsPressAndReleaseInsideAndADoubleClickIsNotASecondClick)
{
    ProbeControl control(&page);
    int clicks = 0, doubleClicks = 0;
    control.SetOnClick([&](QObject* sender) {
        EXPECT_EQ(sender, &control);
        ++clicks;
    });
    control.SetOnDblClick([&](QObject*) { ++doubleClicks; });
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));

    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(150, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(&control, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(&control, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);
}

} // namespace
