// Playing the cards with the keyboard: on the game page the arrow keys move a focus over the
// 4 × 5 grid in the cards' Tag order, and Space does there what a click does. The focus is drawn
// as a mark only once an arrow key was pressed in this game, so a player who never presses one
// sees every pixel as designed; the mouse hides it again until the next arrow key.
#include "un_main.h"

#include "animator/gif_animator.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStackedWidget>

using game::Control;

namespace {

constexpr int kColumns = 5;
constexpr int kRows = game::kCardCount / kColumns;

// A frame over the focused card, above the shutter strip and below the celebrations: dark,
// bright, dark, so it shows on the grey back, on the light edge of every face and on the dark
// bottom row alike. It takes no clicks.
class TCardMark : public QWidget
{
public:
    explicit TCardMark(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor rings[] = { Qt::black, Qt::yellow, Qt::yellow, Qt::yellow, Qt::black };
        int inset = 0;
        for (const QColor& colour : rings) {
            const QRect r = rect().adjusted(inset, inset, -inset, -inset);
            painter.fillRect(r.left(), r.top(), r.width(), 1, colour);
            painter.fillRect(r.left(), r.bottom(), r.width(), 1, colour);
            painter.fillRect(r.left(), r.top(), 1, r.height(), colour);
            painter.fillRect(r.right(), r.top(), 1, r.height(), colour);
            ++inset;
        }
    }
};

} // namespace

void TForm1::buildCardMark()
{
    m_cardMark = new TCardMark(m_notebook->widget(static_cast<int>(game::Page::Game)));
    m_cardMark->stackUnder(control(Control::Label1));
}

void TForm1::resetCardFocus()
{
    hideCardFocus();
    m_cardFocus = 1;
}

void TForm1::hideCardFocus()
{
    m_cardFocusShown = false;
    m_cardMark->hide();
}

bool TForm1::hasCardFocus(Control card) const
{
    return m_cardFocusShown && m_cardMark->isVisible() && game::IsCard(card)
        && m_tags[static_cast<int>(card)] == m_cardFocus;
}

bool TForm1::handleCardKey(QKeyEvent* event)
{
    if (m_notebook->currentIndex() != static_cast<int>(game::Page::Game)
        || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
        moveCardFocus(0, -1);
        return true;
    case Qt::Key_Right:
        moveCardFocus(0, 1);
        return true;
    case Qt::Key_Up:
        moveCardFocus(-1, 0);
        return true;
    case Qt::Key_Down:
        moveCardFocus(1, 0);
        return true;
    case Qt::Key_T: // the time; in the Russian layout the same key types "Е"
    case 0x0415:
        tellTimeLeft();
        return true;
    case Qt::Key_Space: {
        // A celebration covers every card, so there Space lands on it and ends it, as a click
        // does, whether or not a card has the focus.
        bool celebrating = false;
        for (int n = 1; n <= game::kPictureCount; ++n)
            celebrating = celebrating || control(game::AnimatorFor(n))->isVisible();
        if (m_cardFocusShown || celebrating)
            pressAt(game::CardAtPosition(m_cardFocus));
        return true;
    }
    default:
        return false;
    }
}

void TForm1::moveCardFocus(int rows, int columns)
{
    // The first arrow key shows the focus where it is; the others move it, not past an edge.
    if (m_cardFocusShown) {
        const int row = std::clamp((m_cardFocus - 1) / kColumns + rows, 0, kRows - 1);
        const int column = std::clamp((m_cardFocus - 1) % kColumns + columns, 0, kColumns - 1);
        m_cardFocus = row * kColumns + column + 1;
    }
    m_cardFocusShown = true;
    QWidget* card = control(game::CardAtPosition(m_cardFocus));
    m_cardMark->setGeometry(card->geometry());
    m_cardMark->show();
    QAccessibleEvent focus(card, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void TForm1::pressAt(Control card)
{
    QWidget* page = m_notebook->widget(static_cast<int>(game::Page::Game));
    QWidget* widget = control(card);
    if (!page->isVisible() || !game::IsCard(card))
        return;
    // Qt's hit testing: the topmost control there; a disabled card passes the click to the page,
    // which does nothing.
    QWidget* target = page->childAt(widget->geometry().center());
    if (target == widget && widget->isEnabled()) {
        m_cardClick(card);
        return;
    }
    for (int n = 1; n <= game::kPictureCount; ++n) {
        QWidget* animator = control(game::AnimatorFor(n));
        if (target && (target == animator || animator->isAncestorOf(target)))
            m_celebrationEnd();
    }
}
