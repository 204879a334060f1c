#include "un_card_keys.h"

#include "un_design.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStackedWidget>

#include <algorithm>

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

TCardKeys::TCardKeys(const TFormControls& controls, Actions actions)
    : m_controls(controls)
    , m_actions(std::move(actions))
    , m_mark(new TCardMark(controls.page(game::Page::Game)))
{
    m_mark->stackUnder(controls.control(Control::Label1));
}

void TCardKeys::newGame()
{
    hideMark();
    m_focus = 1;
}

void TCardKeys::hideMark()
{
    m_shown = false;
    m_mark->hide();
}

bool TCardKeys::focusesOn(Control card) const
{
    return m_shown && m_mark->isVisible() && game::IsCard(card) && m_controls.tag(card) == m_focus;
}

bool TCardKeys::celebrating() const
{
    for (int n = 1; n <= game::kPictureCount; ++n) {
        if (m_controls.control(game::AnimatorFor(n))->isVisible())
            return true;
    }
    return false;
}

bool TCardKeys::handleKey(QKeyEvent* event)
{
    if (m_controls.shownPage() != game::Page::Game
        || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
        step(0, -1);
        return true;
    case Qt::Key_Right:
        step(0, 1);
        return true;
    case Qt::Key_Up:
        step(-1, 0);
        return true;
    case Qt::Key_Down:
        step(1, 0);
        return true;
    case Qt::Key_T: // the time; in the Russian layout the same key types "Е"
    case 0x0415:
        m_actions.tellTimeLeft();
        return true;
    case Qt::Key_Space:
        // A celebration covers every card, so there Space lands on it and ends it, as a click
        // does, whether or not a card has the focus.
        if (m_shown || celebrating())
            pressAt(game::CardAtPosition(m_focus));
        return true;
    default:
        return false;
    }
}

void TCardKeys::step(int rows, int columns)
{
    // The first arrow key shows the focus where it is; the others move it, not past an edge.
    if (m_shown) {
        const int row = std::clamp((m_focus - 1) / kColumns + rows, 0, kRows - 1);
        const int column = std::clamp((m_focus - 1) % kColumns + columns, 0, kColumns - 1);
        m_focus = row * kColumns + column + 1;
    }
    m_shown = true;
    QWidget* card = m_controls.control(game::CardAtPosition(m_focus));
    m_mark->setGeometry(card->geometry());
    m_mark->show();
    m_actions.focusMoved(card);
}

void TCardKeys::pressAt(Control card)
{
    QWidget* page = m_controls.page(game::Page::Game);
    QWidget* widget = m_controls.control(card);
    if (!page->isVisible() || !game::IsCard(card))
        return;
    // Qt's hit testing: the topmost control there; a disabled card passes the click to the page,
    // which does nothing.
    QWidget* target = page->childAt(widget->geometry().center());
    if (target == widget && widget->isEnabled()) {
        m_actions.clickCard(card);
        return;
    }
    if (const auto hit = m_controls.controlOf(target); hit && game::IsAnimator(*hit))
        m_actions.endCelebration();
}
