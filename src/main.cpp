#include "un_main.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    QApplication::setApplicationDisplayName(QString());
    TForm1 form;
    // Centre once, frame included; the window is not re-centred later.
    form.show();
    const QRect frame = form.frameGeometry();
    const QRect screen = form.screen()->geometry();
    form.move(screen.x() + (screen.width() - frame.width()) / 2,
        screen.y() + (screen.height() - frame.height()) / 2);
    return app.exec();
}
