// The window's key rules: Enter presses the button that has the focus, or else the default
// button of the page shown ("Старт", "Играть"); Alt+letter presses the button with that
// accelerator anywhere in the window, and the letter alone does so while a button has the focus.
// The arrow keys and Space of the game page come first (un_card_keys.cpp).
#include "un_main.h"

#include "un_controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

using game::Control;

namespace {

// Creation order: BitBtn1, BitBtn4, BitBtn2, BitBtn3.
constexpr Control kButtons[]
    = { Control::BitBtn1, Control::BitBtn4, Control::BitBtn2, Control::BitBtn3 };

} // namespace

TBitBtn* TForm1::button(Control c) const
{
    return static_cast<TBitBtn*>(control(c));
}

TBitBtn* TForm1::enterTarget() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this)
        focus = focusWidget();
    bool buttonFocused = false;
    for (Control c : kButtons)
        buttonFocused = buttonFocused || focus == control(c);
    for (Control c : kButtons) {
        TBitBtn* b = button(c);
        const bool isDefault = c == Control::BitBtn1 || c == Control::BitBtn2;
        const bool wants = focus == b || (!buttonFocused && isDefault);
        if (wants && b->canTakeFocus())
            return b;
    }
    return nullptr;
}

void TForm1::updateEnterTarget()
{
    TBitBtn* target = enterTarget();
    for (Control c : kButtons)
        button(c)->setEnterTarget(button(c) == target);
}

bool TForm1::handleKey(QKeyEvent* event)
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
        TBitBtn* b = button(c);
        if (b->accelerator() == letter && b->canTakeFocus()) {
            b->setFocus(Qt::ShortcutFocusReason);
            b->click();
            return true;
        }
    }
    return alt; // Alt+letter with no button of that letter does nothing else either
}

void TForm1::watchKeys()
{
    // Keys reach the native window before the control with the focus: the rules above are
    // applied there, for this window only. Installing twice keeps one filter.
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        // The mouse takes over from the card keys: their mark goes until the next arrow key.
        if (event->type() == QEvent::MouseButtonPress)
            hideCardFocus();
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (handleCardKey(key) || handleKey(key))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
