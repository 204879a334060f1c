// The main of every test program that needs a QApplication (widgets, painting, timers handing
// ticks to the event loop). Tests never open windows on a real screen: they run on Qt's
// offscreen platform, also when CTest lists them.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
