// The animator tests need a QApplication: their controls are widgets and their timers hand ticks
// to the GUI thread's event loop.
#include <QApplication>

#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
// Qt is not built with the thread sanitizer: its thread pool (image conversion) and its event
// queue synchronise in code the sanitizer cannot see. Our own hand-overs to the GUI thread are
// built so that the sanitizer sees their ordering without Qt's help.
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n";
}
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
