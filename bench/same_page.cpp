// The anchor of the start-up paint measurement (paint_bench.py): a Qt Widgets program written the
// ordinary way that shows the same kind of page as the game's start page: the 800 x 600 start
// picture (a JPEG, read by Qt's own image reader), a title, a name box with its text selected and
// two push buttons, in a fixed-size window placed in the middle of the screen and shown. Built
// with the game's flags; whatever the game costs beyond it on the way to its page is its own.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

QFont pageFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Мнемира"));
    window.setFixedSize(800, 600);
    window.setFont(pageFont(11, false));

    auto* picture = new QLabel(&window);
    picture->setPixmap(QPixmap(QStringLiteral(":/start.jpg")));
    picture->setGeometry(0, 0, 800, 600);
    auto* title = new QLabel(QStringLiteral("Введите имя"), &window);
    title->setFont(pageFont(24, true));
    QPalette maroon = title->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    title->setPalette(maroon);
    title->setGeometry(329, 359, 154, 29);
    auto* name = new QLineEdit(QStringLiteral("Новый игрок"), &window);
    name->setGeometry(320, 404, 177, 21);
    auto* start = new QPushButton(QStringLiteral("Старт"), &window);
    start->setGeometry(320, 448, 73, 25);
    auto* results = new QPushButton(QStringLiteral("&Результаты"), &window);
    results->setGeometry(400, 448, 97, 25);
    name->setFocus();
    name->selectAll();

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.move(screen.x() + (screen.width() - window.width()) / 2,
        screen.y() + (screen.height() - window.height()) / 2);
    window.show();
    return app.exec();
}
