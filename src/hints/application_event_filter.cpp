// The program's one application-wide event filter: input offered to OnMessage and OnShortCut,
// every native window's events shown to the hint manager, the main window's minimising and
// restoring turned into OnMinimize and OnRestore.
#include "hints/application.h"

#include "hints/hint_manager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace hints {

namespace {

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

void Application::startFiltering()
{
    qApp->installEventFilter(this);
}

void Application::stopFiltering()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool Application::eventFilter(QObject* watched, QEvent* event)
{
    // Input arrives at the native window first; seen there, each event is seen once. The one
    // application-wide filter: the hint manager sees what is left after the handlers.
    if (watched->isWindowType()) {
        if (isInputEvent(event->type())) {
            if (events.OnMessage) {
                bool handled = false;
                events.OnMessage(watched, event, handled);
                if (handled)
                    return true;
            }
            if (event->type() == QEvent::KeyPress && events.OnShortCut) {
                bool handled = false;
                events.OnShortCut(static_cast<QKeyEvent*>(event), handled);
                if (handled)
                    return true;
            }
        }
        if (m_hintManager)
            m_hintManager->windowEvent(watched, event);
    }
    if (event->type() == QEvent::WindowStateChange && watched == m_mainWindow) {
        const bool minimized = m_mainWindow->isMinimized();
        if (minimized != m_minimized) {
            m_minimized = minimized;
            const base::TNotifyEvent& handler = minimized ? events.OnMinimize : events.OnRestore;
            if (handler)
                handler(this);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hints
