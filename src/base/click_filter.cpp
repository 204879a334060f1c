#include "base/click_filter.h"

#include <QMouseEvent>
#include <QWidget>

namespace base {

ClickFilter::ClickFilter(
    QWidget* control, std::function<void()> onClick, std::function<void()> onDoubleClick)
    : QObject(control)
    , m_control(control)
    , m_onClick(std::move(onClick))
    , m_onDoubleClick(std::move(onDoubleClick))
{
    control->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_control || !m_control->isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        // The release that follows finds nothing pressed and is no click either.
        m_pressed = false;
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_onDoubleClick)
            m_onDoubleClick();
        return true;
    }
    case QEvent::MouseButtonPress:
        if (!m_onClick || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        m_pressed = true;
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_onClick || mouse->button() != Qt::LeftButton || !m_pressed)
            return false;
        m_pressed = false;
        // A release outside the control ends the press without a click.
        if (m_control->rect().contains(mouse->position().toPoint()))
            m_onClick();
        return true;
    }
    default:
        return false;
    }
}

} // namespace base
