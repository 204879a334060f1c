#include "art/artwork.h"
#include "base/error_report.h"
#include "window/un_main.h"
#include "x11_start.h"

#include <QApplication>
#include <QScreen>

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
    // Qt chooses the platform: its wayland platform where a Wayland display is named
    // (WAYLAND_DISPLAY), X11 where none is, unless the player names one (QT_QPA_PLATFORM).
    // Before any other thread starts: the environment is not for sharing.
    PrepareForX11();
    StartPagePreparation preparation;
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    // The window opens on the primary screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    preparation.densityIs(art::DensityFor(screen ? screen->devicePixelRatio() : 1.0));
    preparation.fontsRead();
    TForm1 form;
    form.winId(); // the native window, to be placed before it is mapped
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        PlaceAndPaintOnceOnX11(form);
    form.show();
    return app.exec();
}
