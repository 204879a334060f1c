#include "art/artwork.h"
#include "base/error_report.h"
#include "un_main.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

#include <fontconfig/fontconfig.h>

#include <future>
#include <thread>

namespace {

// Whatever escapes an event handler is reported in the error box, and the program goes on
// with the next event.
class TApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            base::ReportException(receiver, std::current_exception());
        }
        return false;
    }
};

// Centres the window's frame, not only its inside, on the screen. A window manager frames a
// window only when it maps it, so the frame's size is known at the first exposure, not when the
// window is shown: it is centred at both, and never again.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget& form)
        : m_window(*form.windowHandle())
    {
        centre();
        m_window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && m_window.isExposed()) {
            m_window.removeEventFilter(this);
            centre();
        }
        return false;
    }

private:
    void centre()
    {
        const QSize frame = m_window.size().grownBy(m_window.frameMargins());
        const QRect screen = m_window.screen()->geometry();
        m_window.setFramePosition(QPoint(screen.x() + (screen.width() - frame.width()) / 2,
            screen.y() + (screen.height() - frame.height()) / 2));
    }

    QWindow& m_window;
};

// While the application connects to the display, a second core reads the font configuration
// (the slowest part of the first text the window measures) and then decodes the start page's
// background while the window is built. Both are shared: the window finds the background done
// or waits for it (art::background), and it measures no text before the fonts are read
// (fontsRead), which would read them a second time.
class StartPagePreparation
{
public:
    StartPagePreparation()
        : m_thread([this] {
            FcInit();
            m_fontsRead.set_value();
            try {
                art::background(art::Background::Start);
            } catch (const std::exception&) {
                // The window loads it again and reports the damage.
            }
        })
    { }
    ~StartPagePreparation() { m_thread.join(); }

    void fontsRead() { m_fontsReadFuture.wait(); }

private:
    std::promise<void> m_fontsRead;
    std::future<void> m_fontsReadFuture = m_fontsRead.get_future();
    std::thread m_thread;
};

} // namespace

int main(int argc, char** argv)
{
    StartPagePreparation preparation;
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    try {
        QApplication::setWindowIcon(art::icon());
    } catch (const std::exception&) {
        // The window reports damaged artwork itself when it is built.
    }
    preparation.fontsRead();
    TForm1 form;
    form.show();
    const FrameCentring centring(form);
    return app.exec();
}
