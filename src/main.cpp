#include "art/artwork.h"
#include "base/error_report.h"
#include "un_main.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

#include <fontconfig/fontconfig.h>

#include <future>
#include <optional>
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
// background, for the screen's density, while the window is built. Both are shared: the window
// finds the background done or waits for it (art::background), and it measures no text before
// the fonts are read (fontsRead), which would read them a second time.
//
// The thread touches Qt only once the application exists: Qt takes the first thread that uses
// it for the main thread, and the window's events would then go astray.
class StartPagePreparation
{
public:
    StartPagePreparation()
        : m_thread([this] {
            FcInit();
            m_fontsRead.set_value();
            const std::optional<art::Density> density = m_densityFuture.get();
            if (!density)
                return;
            try {
                art::background(art::Background::Start, *density);
            } catch (const std::exception&) {
                // The window loads it again and reports the damage.
            }
        })
    { }
    ~StartPagePreparation()
    {
        if (!m_densityKnown)
            m_density.set_value(std::nullopt);
        m_thread.join();
    }

    void fontsRead() { m_fontsReadFuture.wait(); }
    // Called once the application exists.
    void densityIs(art::Density density)
    {
        m_densityKnown = true;
        m_density.set_value(density);
    }

private:
    std::promise<void> m_fontsRead;
    std::future<void> m_fontsReadFuture = m_fontsRead.get_future();
    std::promise<std::optional<art::Density>> m_density;
    std::future<std::optional<art::Density>> m_densityFuture = m_density.get_future();
    bool m_densityKnown = false;
    std::thread m_thread;
};

} // namespace

int main(int argc, char** argv)
{
    StartPagePreparation preparation;
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    // The window opens on the primary screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    preparation.densityIs(art::DensityFor(screen ? screen->devicePixelRatio() : 1.0));
    preparation.fontsRead();
    TForm1 form;
    form.show();
    const FrameCentring centring(form);
    return app.exec();
}
