#include "x11_start.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QExposeEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace {

// Centres the window's frame, not only its inside, on the screen. A window manager frames a
// window only when it maps it, so the frame's size is known at the first exposure, not when the
// window is shown. The window is placed before it is shown, so it appears where it belongs and
// is painted once; at the first exposure the frame is centred if it is not yet, and never again.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget& form)
        : QObject(&form)
        , m_window(*form.windowHandle())
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
        : QObject(&form)
        , m_window(*form.windowHandle())
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

} // namespace

void PrepareForX11()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

void PlaceAndPaintOnceOnX11(QWidget& form)
{
    // Both belong to the form and go with it.
    new FrameCentring(form);
    new MapExposure(form);
}
