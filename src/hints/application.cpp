#include "hints/application.h"

#include "base/colour.h"
#include "hints/hint_manager.h"
#include "hints/hint_window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <stdexcept>

namespace hints {

namespace {
Application* g_instance = nullptr;
} // namespace

Application& Application::instance()
{
    if (!g_instance) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            throw std::logic_error("hints::Application needs a QApplication");
        g_instance = new Application;
        // Widgets must go before the QApplication does.
        qAddPostRoutine(&Application::shutdown);
    }
    return *g_instance;
}

bool Application::exists()
{
    return g_instance != nullptr;
}

void Application::shutdown()
{
    delete g_instance;
    g_instance = nullptr;
}

Application::Application()
    : m_hintColor(base::PlatformColor(base::SystemColor::InfoBk))
    , m_hintWindowClass([] { return std::make_unique<THintWindow>(); })
{
    m_hintManager = std::make_unique<HintManager>(*this);
    m_hintWindow = m_hintWindowClass();
    m_hintWindow->setColor(m_hintColor);
    m_showHint = true;

    startFiltering();
    auto* app = qApp;
    connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive) {
            if (events.OnActivate)
                events.OnActivate(this);
        } else if (events.OnDeactivate) {
            events.OnDeactivate(this);
        }
    });
    connect(app, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) {
        if (screenEvents.OnActiveControlChange)
            screenEvents.OnActiveControlChange(this);
    });
    connect(app, &QGuiApplication::focusWindowChanged, this, [this](QWindow*) {
        if (screenEvents.OnActiveFormChange)
            screenEvents.OnActiveFormChange(this);
    });
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Application::idle);
    startRoutingFailures();
}

Application::~Application()
{
    // Nothing may fire while the object goes away.
    stopRoutingFailures();
    events = {};
    screenEvents = {};
    stopFiltering();
    m_hintManager.reset();
    m_hintWindow.reset();
}

void Application::setHintColor(const QColor& color)
{
    if (color == m_hintColor)
        return;
    m_hintColor = color;
    if (m_hintWindow)
        m_hintWindow->setColor(color);
}

void Application::setHintPause(int ms)
{
    m_hintPause = ms;
}

void Application::setHintShortPause(int ms)
{
    m_hintShortPause = ms;
}

void Application::setHintHidePause(int ms)
{
    m_hintHidePause = ms;
}

void Application::setShowHint(bool on)
{
    if (on == m_showHint)
        return;
    m_showHint = on;
    if (on) {
        m_hintWindow = m_hintWindowClass();
        m_hintWindow->setColor(m_hintColor);
    } else {
        m_hintManager->cancelHint();
        m_hintWindow.reset();
    }
}

void Application::setHintWindowClass(HintWindowClass make)
{
    if (make)
        m_hintWindowClass = std::move(make);
}

void Application::setControlHint(QWidget* control, const QString& text)
{
    m_hintManager->setControlHint(control, text);
}

void Application::cancelHint()
{
    m_hintManager->cancelHint();
}

void Application::setHint(const QString& text)
{
    if (text == m_hint)
        return;
    m_hint = text;
    if (events.OnHint)
        events.OnHint(this);
}

void Application::setBiDiMode(TBiDiMode mode)
{
    if (mode == m_biDiMode)
        return;
    m_biDiMode = mode;
    QGuiApplication::setLayoutDirection(mode == bdLeftToRight ? Qt::LeftToRight : Qt::RightToLeft);
}

int Application::mouseDragThreshold() const
{
    return QGuiApplication::styleHints()->startDragDistance();
}

void Application::setMouseDragThreshold(int pixels)
{
    if (pixels != mouseDragThreshold())
        QGuiApplication::styleHints()->setStartDragDistance(pixels);
}

void Application::setMainWindow(QWidget* window)
{
    if (m_mainWindow)
        return;
    m_mainWindow = window;
    if (window)
        m_minimized = window->isMinimized();
}

bool Application::helpCommand(quint16 command, qintptr data)
{
    bool callHelp = true;
    return events.OnHelp ? events.OnHelp(command, data, callHelp) : false;
}

bool Application::executeAction(QAction* action)
{
    bool handled = false;
    if (events.OnActionExecute)
        events.OnActionExecute(action, handled);
    return handled;
}

bool Application::updateAction(QAction* action)
{
    bool handled = false;
    if (events.OnActionUpdate)
        events.OnActionUpdate(action, handled);
    return handled;
}

void Application::idle()
{
    if (!events.OnIdle || m_idleAgainPending)
        return;
    bool done = true;
    events.OnIdle(this, done);
    if (!done) {
        // Not done: come back as soon as the queue is empty again instead of sleeping.
        m_idleAgainPending = true;
        QTimer::singleShot(0, this, [this] { m_idleAgainPending = false; });
    }
}

} // namespace hints
