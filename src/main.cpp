#include "un_main.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    TForm1 form;
    form.show();
    // Centred once, frame included; not re-centred later.
    const QRect frame = form.frameGeometry();
    const QRect screen = form.screen()->geometry();
    form.move(screen.x() + (screen.width() - frame.width()) / 2,
        screen.y() + (screen.height() - frame.height()) / 2);
    return app.exec();
}
