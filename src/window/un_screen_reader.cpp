#include "un_screen_reader.h"

#include "art/faces.h"
#include "results/results_table.h"
#include "un_accessible.h"
#include "un_design.h"
#include "un_label.h"
#include "un_notice.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QStackedWidget>
#include <QTableWidget>

using game::Control;

namespace {

// What each page offers a screen reader, in reading order.
std::vector<Control> readingOrder(game::Page page)
{
    switch (page) {
    case game::Page::Start:
        return { Control::Label7, Control::Edit4, Control::BitBtn1, Control::BitBtn4 };
    case game::Page::Game: {
        std::vector<Control> order { Control::Label6, Control::Panel1, Control::Label3,
            Control::Label4 };
        // A celebration, while one shows, lies over the cards.
        for (int n = 1; n <= game::kPictureCount; ++n)
            order.push_back(game::AnimatorFor(n));
        for (int position = 1; position <= game::kCardCount; ++position)
            order.push_back(game::CardAtPosition(position));
        return order;
    }
    case game::Page::Hits:
        break;
    }
    return { Control::Label8, Control::Label9, Control::ListView1, Control::BitBtn2,
        Control::BitBtn3 };
}

// The screen readers of the windows there are (one), for Qt's factory of interfaces.
std::vector<TScreenReader*>& readers()
{
    static std::vector<TScreenReader*> all;
    return all;
}

QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    for (TScreenReader* reader : readers()) {
        if (widget && widget->window() == reader->window())
            return reader->interfaceFor(widget);
    }
    return nullptr;
}

QString labelText(const TLabel* label)
{
    return label->text();
}

} // namespace

TScreenReader::TScreenReader(
    QWidget* window, const TFormControls& controls, const game::GameState& state, Window hooks)
    : m_window(window)
    , m_controls(controls)
    , m_state(state)
    , m_hooks(std::move(hooks))
    , m_notice(new TNotice(window))
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
    readers().push_back(this);
    controls.control(Control::Edit4)->setAccessibleName(labelText(controls.label(Control::Label7)));
    controls.list()->setAccessibleName(labelText(controls.label(Control::Label8)));
    controls.list()->setAccessibleDescription(QString::fromUtf8(kListHint));
}

TScreenReader::~TScreenReader()
{
    std::erase(readers(), this);
}

QWidget* TScreenReader::notice() const
{
    return m_notice;
}

QAccessibleInterface* TScreenReader::interfaceFor(QWidget* widget)
{
    if (widget == m_window)
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (widget == m_notice)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    for (const game::Page page : { game::Page::Start, game::Page::Game, game::Page::Hits }) {
        if (widget != m_controls.page(page))
            continue;
        std::vector<QWidget*> children;
        for (Control c : readingOrder(page))
            children.push_back(m_controls.control(c));
        return NewPageInterface(widget, std::move(children));
    }
    const auto c = m_controls.controlOf(widget);
    if (!c)
        return nullptr;
    const QAccessible::Role role = game::IsCard(*c) ? QAccessible::Button
        : game::IsAnimator(*c)                      ? QAccessible::Animation
        : *c == Control::Panel1 || m_controls.label(*c) || m_controls.image(*c)
        ? QAccessible::StaticText
        : QAccessible::NoRole;
    return role == QAccessible::NoRole ? nullptr : NewPaintedInterface(this, widget, *c, role);
}

QString TScreenReader::name(Control c) const
{
    if (game::IsCard(c)) {
        const int position = m_controls.tag(c);
        const int picture = m_shownPicture[game::ControlIndex(c)];
        QString name = QStringLiteral("Карта %1, ").arg(position);
        if (picture == 0)
            return name + QStringLiteral("закрыта");
        const bool found
            = position >= 1 && position <= game::kCardCount && m_state.CardValue[position] == 0;
        return name + (found ? QStringLiteral("найдена: ") : QStringLiteral("открыта: "))
            + art::faceName(picture);
    }
    if (game::IsAnimator(c))
        return QStringLiteral("Найдена пара: ")
            + art::faceName(game::ControlIndex(c) - game::ControlIndex(Control::GIFAnimator1) + 1);
    const auto text = [this](Control label) { return labelText(m_controls.label(label)); };
    switch (c) {
    case Control::Panel1:
        return QStringLiteral("Осталось времени: ") + text(Control::Label10)
            + text(Control::Label11) + text(Control::Label12);
    case Control::Label3:
        return text(Control::Label1) + QStringLiteral(": ") + text(c);
    case Control::Label4:
        return text(Control::Label2) + QStringLiteral(": ") + text(c);
    case Control::Label6:
        return QStringLiteral("Игрок: ") + text(c);
    default:
        return m_controls.label(c) ? text(c).trimmed() : QString();
    }
}

bool TScreenReader::cardFocused(Control card) const
{
    return m_hooks.hasCardFocus(card);
}

void TScreenReader::press(Control c)
{
    // The press of a card lands where a click on it would; that of a celebration ends it.
    QMetaObject::invokeMethod(
        m_window,
        [this, c] {
            if (QApplication::activeModalWidget())
                return; // a message box takes no press of the window's, as it takes no click
            if (game::IsCard(c))
                m_hooks.pressCard(c);
            else if (m_controls.control(c)->isVisible())
                m_hooks.endCelebration();
        },
        Qt::QueuedConnection);
}

void TScreenReader::cardShows(Control card, int index)
{
    m_shownPicture[game::ControlIndex(card)] = index;
}

void TScreenReader::tellChanges()
{
    // The first change after a screen reader starts tells every name that has changed meanwhile.
    if (!listens())
        return;
    std::vector<Control> told { Control::Label3, Control::Label4, Control::Label6 };
    for (int position = 1; position <= game::kCardCount; ++position)
        told.push_back(game::CardAtPosition(position));
    for (Control c : told) {
        QString name = this->name(c);
        if (name == m_spokenName[game::ControlIndex(c)])
            continue;
        m_spokenName[game::ControlIndex(c)] = std::move(name);
        if (!SendNameOverAtSpi(m_controls.control(c))) {
            QAccessibleEvent changed(m_controls.control(c), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }
}

void TScreenReader::tellFocus(QWidget* card)
{
    QAccessibleEvent focus(card, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void TScreenReader::tell(const QString& text)
{
    if (listens() && !text.isEmpty())
        m_notice->say(text);
}

void TScreenReader::tellLater(std::function<QString()> text)
{
    if (!listens())
        return;
    QMetaObject::invokeMethod(
        m_window, [this, text = std::move(text)] { tell(text()); }, Qt::QueuedConnection);
}

void TScreenReader::tellCelebration(int picture)
{
    tellLater([this, picture] {
        return QStringLiteral("Найдена пара: %1. %2. %3. Часы стоят.")
            .arg(art::faceName(picture), name(Control::Label3), name(Control::Label4));
    });
}

void TScreenReader::tellCelebrationOver()
{
    // After the last pair the game is over instead (tellGameOver).
    tellLater([this] {
        return m_controls.shownPage() == game::Page::Game ? QStringLiteral("Часы снова идут.")
                                                          : QString();
    });
}

void TScreenReader::tellTimeLeft()
{
    tell(name(Control::Panel1) + QStringLiteral(". ") + name(Control::Label4) + QLatin1Char('.'));
}

void TScreenReader::tellGameOver()
{
    // The game's record is the last row (the list shows the file's order), its place that among
    // all rows by time, shortest first, whichever way the list was last sorted.
    QTableWidget* list = m_controls.list();
    const int rows = list->rowCount();
    if (!listens() || rows == 0)
        return;
    const QString time = list->item(rows - 1, 0)->text();
    const results::SortState shortestFirst { 0, true };
    int place = 1;
    for (int r = 0; r < rows - 1; ++r)
        place += results::ListView1Compare(shortestFirst, list->item(r, 0)->text(), time) < 0;
    list->setCurrentCell(rows - 1, 0);
    tellLater([=] {
        return QStringLiteral("Игра окончена. Ваше время %1, место %2 из %3.")
            .arg(time)
            .arg(place)
            .arg(rows);
    });
}
