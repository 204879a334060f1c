// The animator tests need a QApplication: their controls are widgets and their timers hand ticks
// to the GUI thread's event loop.
#include "tsan_suppressions.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
