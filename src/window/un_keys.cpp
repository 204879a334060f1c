#include "un_keys.h"

#include "un_controls.h"
#include "un_design.h"

#include <QApplication>
#include <QKeyEvent>

using game::Control;

namespace {

// Creation order: BitBtn1, BitBtn4, BitBtn2, BitBtn3.
constexpr Control kButtons[]
    = { Control::BitBtn1, Control::BitBtn4, Control::BitBtn2, Control::BitBtn3 };

} // namespace

TButtonKeys::TButtonKeys(QWidget* window, const TFormControls& controls)
    : m_window(window)
    , m_controls(controls)
{ }

TBitBtn* TButtonKeys::enterTarget() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != m_window)
        focus = m_window->focusWidget();
    bool buttonFocused = false;
    for (Control c : kButtons)
        buttonFocused = buttonFocused || focus == m_controls.control(c);
    for (Control c : kButtons) {
        TBitBtn* b = m_controls.button(c);
        const bool isDefault = c == Control::BitBtn1 || c == Control::BitBtn2;
        const bool wants = focus == b || (!buttonFocused && isDefault);
        if (wants && b->canTakeFocus())
            return b;
    }
    return nullptr;
}

void TButtonKeys::updateEnterTarget()
{
    TBitBtn* target = enterTarget();
    for (Control c : kButtons)
        m_controls.button(c)->setEnterTarget(m_controls.button(c) == target);
}

bool TButtonKeys::handleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
        if (TBitBtn* target = enterTarget()) {
            target->click();
            return true;
        }
        return false;
    }
    const QString text = event->text();
    QChar letter;
    if (!text.isEmpty() && text.at(0).isLetter())
        letter = text.at(0).toUpper();
    else if (key >= 0x20 && key <= 0xFFFF && QChar(key).isLetter())
        letter = QChar(key).toUpper();
    if (letter.isNull() || (mods & Qt::ControlModifier))
        return false;
    const bool alt = mods & Qt::AltModifier;
    const bool onButton = dynamic_cast<TBitBtn*>(QApplication::focusWidget()) != nullptr;
    if (!alt && !onButton)
        return false;
    for (Control c : kButtons) {
        TBitBtn* b = m_controls.button(c);
        if (b->accelerator() == letter && b->canTakeFocus()) {
            b->setFocus(Qt::ShortcutFocusReason);
            b->click();
            return true;
        }
    }
    return alt; // Alt+letter with no button of that letter does nothing else either
}
