#include "art/artwork.h"
#include "base/error_report.h"
#include "window/un_main.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QExposeEvent>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

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
// window is shown. The window is placed before it is shown, so it appears where it belongs and
// is painted once; at the first exposure the frame is centred if it is not yet, and never again.
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
        const QPoint place(screen.x() + (screen.width() - frame.width()) / 2,
            screen.y() + (screen.height() - frame.height()) / 2);
        if (m_window.framePosition() != place)
            m_window.setFramePosition(place);
    }

    QWindow& m_window;
};

// Qt's X11 platform exposes a window twice when the server maps it: once when it learns of the
// map, for the whole window, and once more for the Expose events the server sent with that same
// map. The first paints the whole window and sends it to the server, so the second would send the
// same pixels again: it is left out. Safely, because X numbers every event with the last request
// the server had done from this program: while the server's events still carry the map's number,
// they were made before the whole window was sent (later ones, for a window covered and uncovered
// since, carry a later number and are painted as usual). Only until the event loop next waits.
class MapExposure : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit MapExposure(QWidget& form)
        : m_window(*form.windowHandle())
        , m_id(xcb_window_t(form.winId()))
    {
        m_window.installEventFilter(this);
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        dispatcher->installNativeEventFilter(this);
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { m_painted = false; });
    }
    ~MapExposure() override
    {
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            dispatcher->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int kind = event->response_type & 0x7F;
        if (kind == XCB_MAP_NOTIFY
            && reinterpret_cast<const xcb_map_notify_event_t*>(event)->window == m_id) {
            m_mapSequence = event->sequence;
            m_sinceMap = true;
            m_painted = false;
        } else if (kind != 0 && event->sequence != m_mapSequence) {
            m_sinceMap = false;
        }
        return false;
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !m_window.isExposed())
            return false;
        if (m_painted && m_sinceMap)
            return true;
        // The region an exposure asks for, which QPaintEvent repeats only after the fact.
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        const QRegion region = static_cast<QExposeEvent*>(event)->region();
        QT_WARNING_POP
        m_painted = m_sinceMap && region.contains(QRect(QPoint(0, 0), m_window.size()));
        return false;
    }

private:
    QWindow& m_window;
    xcb_window_t m_id;
    std::uint16_t m_mapSequence = 0;
    bool m_sinceMap = false; // every event of the server since the map carries its number
    bool m_painted = false; // the whole window has been painted since the map
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
    //
    // Pictures go to an X server through its socket rather than through shared memory, unless the
    // player says otherwise. With shared memory Qt makes sure the server has finished reading an
    // area before it paints there again: a round trip that wakes the server and two threads
    // here, for every tick of the clock, which repaints the same few pixels 67 times a second.
    // Only the X11 platform reads the setting, as it connects; which platform that is, Qt
    // decides only then, so it is set for either. (Set before any other thread starts: the
    // environment is not for sharing.)
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    StartPagePreparation preparation;
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Мнемира"));
    // The window opens on the primary screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    preparation.densityIs(art::DensityFor(screen ? screen->devicePixelRatio() : 1.0));
    preparation.fontsRead();
    TForm1 form;
    form.winId(); // the native window, to be placed before it is mapped
    // On X11 the program places its window and paints it once. A Wayland compositor places
    // every window itself and sends no second exposure.
    std::optional<FrameCentring> centring;
    std::optional<MapExposure> exposure;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        centring.emplace(form);
        exposure.emplace(form);
    }
    form.show();
    return app.exec();
}
