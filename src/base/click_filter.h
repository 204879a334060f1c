#pragma once
// The one rule for clicks, shared by the cards, the buttons and the animations: a click is a
// press and a release of the left button inside the same control (Qt keeps the mouse with the
// control between the two), and the second press of a double-click is no press at all, so a
// double-click counts as one click.

#include <QObject>

#include <functional>

class QWidget;

namespace base {

class ClickFilter : public QObject
{
public:
    // Watches `control` (and is owned by it). With `onClick` the filter tracks the left button
    // itself and takes those presses and releases; without one the control keeps its own press
    // handling (a push button's) and only the double-click press is taken away from it.
    // A disabled control is left alone: Qt passes its clicks on to what lies below.
    explicit ClickFilter(QWidget* control, std::function<void()> onClick = {},
        std::function<void()> onDoubleClick = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_control;
    std::function<void()> m_onClick;
    std::function<void()> m_onDoubleClick;
    bool m_pressed = false;
};

} // namespace base
