#include "hints/hint_manager.h"

#include "hints/application.h"
#include "hints/hint_window.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace hints {

HintManager::HintManager(Application& app)
    : m_app(app)
{
    m_pauseTimer.setSingleShot(true);
    m_hideTimer.setSingleShot(true);
    m_pauseTimer.setTimerType(Qt::PreciseTimer);
    m_hideTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pauseTimer, &QTimer::timeout, this, &HintManager::showNow);
    connect(&m_hideTimer, &QTimer::timeout, this, [this] {
        if (m_state != State::Shown)
            return;
        hideHint(false);
        m_state = State::Ended;
    });
}

HintManager::~HintManager() = default;

void HintManager::setControlHint(QWidget* control, const QString& text)
{
    if (!control)
        return;
    if (text.isEmpty()) {
        if (m_hints.remove(control) && control == m_control)
            pointerAt(nullptr, m_lastPos);
        return;
    }
    if (!m_hints.contains(control)) {
        connect(control, &QObject::destroyed, this, [this, control] {
            m_hints.remove(control);
            if (m_control == nullptr || m_control == control)
                cancelHint();
        });
    }
    m_hints.insert(control, text);
}

QString HintManager::controlHint(QWidget* control) const
{
    return m_hints.value(control);
}

void HintManager::cancelHint()
{
    m_pauseTimer.stop();
    m_hideTimer.stop();
    if (THintWindow* w = m_app.hintWindow())
        w->hide();
    m_state = State::Outside;
    m_control = nullptr;
    m_app.setHint(QString());
}

int HintManager::PointerImageHeight(const QWidget* control)
{
    if (control) {
        const QPixmap pixmap = control->cursor().pixmap();
        if (!pixmap.isNull())
            return qRound(pixmap.height() / pixmap.devicePixelRatio());
    }
    bool ok = false;
    const int size = qEnvironmentVariableIntValue("XCURSOR_SIZE", &ok);
    if (ok && size > 0 && size <= 256)
        return size;
    return 32;
}

QWidget* HintManager::hintedControlAt(QObject* window, const QPoint& windowPos) const
{
    for (auto it = m_hints.cbegin(); it != m_hints.cend(); ++it) {
        QWidget* control = it.key();
        if (!control->isVisible())
            continue;
        QWidget* top = control->window();
        if (top->windowHandle() != window)
            continue;
        if (!control->rect().contains(control->mapFrom(top, windowPos)))
            continue;
        // Only when the control (or a part of it) is what lies at the pointer.
        QWidget* hit = top->childAt(windowPos);
        if (hit == control || (hit && control->isAncestorOf(hit)))
            return control;
    }
    return nullptr;
}

void HintManager::windowEvent(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPoint pos = move->globalPosition().toPoint();
        const QPoint inWindow = move->position().toPoint();
        // Found by the window's own coordinates: where the window lies on the screen is
        // known only from this event (ScreenOrigin).
        if (auto* window = qobject_cast<QWindow*>(watched))
            NoteScreenOrigin(window, pos - inWindow);
        if (m_havePos && pos == m_lastPos)
            break;
        pointerAt(hintedControlAt(watched, inWindow), pos);
        break;
    }
    case QEvent::Leave:
        if (m_control && m_control->window()->windowHandle() == watched)
            pointerAt(nullptr, m_lastPos);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        pressed();
        break;
    default:
        break;
    }
}

void HintManager::pointerAt(QWidget* control, const QPoint& globalPos)
{
    m_lastPos = globalPos;
    m_havePos = true;
    if (control != m_control) {
        const bool wasShown = m_state == State::Shown;
        if (wasShown)
            hideHint(true);
        m_pauseTimer.stop();
        m_hideTimer.stop();
        m_control = control;
        m_app.setHint(control ? m_hints.value(control) : QString());
        if (!control) {
            m_state = State::Outside;
            return;
        }
        const bool recent
            = m_sinceLeftShown.isValid() && m_sinceLeftShown.elapsed() < m_app.hintPause();
        startWaiting(recent);
        return;
    }
    if (!control)
        return;
    switch (m_state) {
    case State::Waiting:
        // Not at rest yet: the pause starts again from this move.
        m_pauseTimer.start();
        break;
    case State::EndedByPress:
        startWaiting(false);
        break;
    default:
        break;
    }
}

void HintManager::pressed()
{
    m_pauseTimer.stop();
    m_hideTimer.stop();
    if (m_state == State::Shown)
        hideHint(false);
    m_state = m_control ? State::EndedByPress : State::Outside;
}

void HintManager::hideHint(bool byLeaving)
{
    if (THintWindow* w = m_app.hintWindow())
        w->hide();
    if (byLeaving)
        m_sinceLeftShown.start();
}

void HintManager::startWaiting(bool shortPause)
{
    m_state = State::Waiting;
    m_pauseTimer.start(shortPause ? m_app.hintShortPause() : m_app.hintPause());
}

void HintManager::showNow()
{
    QWidget* control = m_control;
    THintWindow* window = m_app.hintWindow();
    if (!control || !window || m_state != State::Waiting) {
        return;
    }
    m_state = State::Ended;
    const QString text = m_hints.value(control);

    THintInfo info;
    info.HintControl = control;
    info.CursorPos = m_lastPos;
    info.CursorRect = QRect(ScreenOrigin(control), control->size());
    info.HintPos = QPoint(m_lastPos.x(), m_lastPos.y() + PointerImageHeight(control));
    QScreen* screen = QGuiApplication::primaryScreen();
    info.HintMaxWidth = screen ? screen->geometry().width() : 800;
    info.HintColor = m_app.hintColor();
    info.HideTimeout = m_app.hintHidePause();
    info.HintStr = text.section(QLatin1Char('|'), 0, 0);

    QString shown = info.HintStr;
    bool canShow = true;
    if (m_app.events.OnShowHint)
        m_app.events.OnShowHint(shown, canShow, info);
    // A handler may have switched hints off or moved on.
    window = m_app.hintWindow();
    if (!canShow || !window || shown.isEmpty() || m_control != control)
        return;

    window->setOwner(control->window());
    QRect rect = window->MeasureHint(info.HintMaxWidth, shown);
    rect.moveTopLeft(info.HintPos);
    window->setColor(info.HintColor);
    window->ShowHintAt(rect, shown);
    m_state = State::Shown;
    if (info.HideTimeout > 0)
        m_hideTimer.start(info.HideTimeout);
}

} // namespace hints
