// The baseline of the start-up measurements: an empty 800 x 600 Qt Widgets window started the
// way the game starts its own (one QApplication, one fixed-size top-level widget, shown, then
// centred by its frame), built with the same flags. Whatever the game costs beyond this is its
// own work.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 600);
    window.show();
    const QRect frame = window.frameGeometry();
    const QRect screen = window.screen()->geometry();
    window.move(screen.x() + (screen.width() - frame.width()) / 2,
        screen.y() + (screen.height() - frame.height()) / 2);
    return app.exec();
}
