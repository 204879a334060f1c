// The floor of the clock measurement (clock_bench.py): the least a Qt Widgets program does to
// show a running clock. An 800 x 600 window whose 15 ms timer repaints a 23 x 17 opaque widget
// at once from pictures made beforehand: no text layout, no allocation, nothing else on screen.
// Its pictures reach the X server as the game sends them (through the socket). What the game
// costs beyond it while its clock runs is its own.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <array>

namespace {

class Digits : public QWidget
{
public:
    explicit Digits(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(82, 29, 23, 17);
        for (std::size_t i = 0; i < m_pictures.size(); ++i) {
            m_pictures[i] = QImage(size() * devicePixelRatio(), QImage::Format_RGB32);
            m_pictures[i].setDevicePixelRatio(devicePixelRatio());
            m_pictures[i].fill(QColor(0, 0, int(155 + i)));
        }
    }
    void tick()
    {
        m_shown = (m_shown + 1) % m_pictures.size();
        repaint();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_pictures[m_shown]);
    }

private:
    std::array<QImage, 100> m_pictures;
    std::size_t m_shown = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 600);
    auto* digits = new Digits(&window);
    QTimer timer;
    timer.setInterval(15);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, digits, &Digits::tick);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.move(screen.x() + (screen.width() - 800) / 2, screen.y() + (screen.height() - 600) / 2);
    window.show();
    timer.start();
    return app.exec();
}
