// What a screen reader reads of the window. Qt describes its own controls (the buttons, the name
// box, the results list, the message boxes); the controls the window paints itself get their
// interfaces here: the cards are buttons named by number and state, a celebration can be ended
// by its press action, the counters and the player's name are read with their captions, the
// clock's digits as one time. Each page lists what it shows in reading order and leaves out the
// pictures that only decorate and the captions the counters already say.
//
// A change the player must hear is sent when the picture changes (tellScreenReader): a wrong
// pair's second face shows only during a pause that blocks this thread, which answers the
// screen reader's questions meanwhile (PauseAnsweringScreenReaders). The clock is read when
// asked, never announced: it changes every 15 ms. What a sighted player sees happen beyond the
// controls' names (a celebration, a game's end) is told through a notice (TNotice).
#include "un_main.h"

#include "art/faces.h"
#include "results/results_table.h"
#include "un_controls.h"
#include "un_screen_reader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QStackedWidget>
#include <QTableWidget>

using game::Control;

namespace {

// One of the window's painted controls, read through the window.
class TPaintedAccessible : public QAccessibleWidget
{
public:
    TPaintedAccessible(TForm1* form, Control control, QAccessible::Role role)
        : QAccessibleWidget(form->control(control), role)
        , m_form(form)
        , m_control(control)
    { }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? m_form->accessibleName(m_control)
                                      : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (game::IsCard(m_control)) {
            s.focusable = true;
            s.focused = m_form->hasCardFocus(m_control);
        }
        return s;
    }

    // The clock's three digit labels are read as one time.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QStringList actionNames() const override
    {
        return pressable() ? QStringList { pressAction() } : QStringList();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && pressable())
            m_form->pressLater(m_control);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == pressAction() && game::IsCard(m_control)
            ? QStringList { QStringLiteral("Space") }
            : QStringList();
    }

private:
    bool pressable() const
    {
        return role() == QAccessible::Button || role() == QAccessible::Animation;
    }

    TForm1* m_form;
    Control m_control;
};

// A page: its controls in the order a player reads them.
class TPageAccessible : public QAccessibleWidget
{
public:
    TPageAccessible(QWidget* page, std::vector<QWidget*> children)
        : QAccessibleWidget(page, QAccessible::Pane)
        , m_children(std::move(children))
    { }

    int childCount() const override { return static_cast<int>(m_children.size()); }
    QAccessibleInterface* child(int index) const override
    {
        return index >= 0 && index < childCount()
            ? QAccessible::queryAccessibleInterface(m_children[index])
            : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto it = std::find(m_children.begin(), m_children.end(), child->object());
        return it == m_children.end() ? -1 : static_cast<int>(it - m_children.begin());
    }

private:
    std::vector<QWidget*> m_children;
};

// What each page offers a screen reader, in reading order.
std::vector<Control> readingOrder(int page)
{
    switch (page) {
    case 0:
        return { Control::Label7, Control::Edit4, Control::BitBtn1, Control::BitBtn4 };
    case 1: {
        std::vector<Control> order { Control::Label6, Control::Panel1, Control::Label3,
            Control::Label4 };
        // A celebration, while one shows, lies over the cards.
        for (int n = 1; n <= game::kPictureCount; ++n)
            order.push_back(game::AnimatorFor(n));
        for (int position = 1; position <= game::kCardCount; ++position)
            order.push_back(game::CardAtPosition(position));
        return order;
    }
    default:
        return { Control::Label8, Control::Label9, Control::ListView1, Control::BitBtn2,
            Control::BitBtn3 };
    }
}

QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    auto* form = widget ? qobject_cast<TForm1*>(widget->window()) : nullptr;
    return form ? form->accessibleFor(widget) : nullptr;
}

// Qt 6.4's AT-SPI bridge sends a name change with a reference to the object rather than its new
// name, so a listener has to ask for the name, and during a blocking pause the answer comes only
// after the pause. Where that bridge is connected, the change goes out here instead, on its
// connection and as AT-SPI describes the event: with the name. False when there is no bridge.
bool sendNameOverAtSpi(QWidget* widget)
{
    QDBusConnection bus(QStringLiteral("a11y"));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!bus.isConnected() || !iface)
        return false;
    const QString prefix = QStringLiteral("/org/a11y/atspi/accessible/");
    QDBusMessage signal
        = QDBusMessage::createSignal(prefix + QString::number(QAccessible::uniqueId(iface)),
            QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    QDBusArgument application;
    application.beginStructure();
    application << bus.baseService() << QDBusObjectPath(prefix + QStringLiteral("root"));
    application.endStructure();
    signal << QStringLiteral("accessible-name") << 0 << 0
           << QVariant::fromValue(QDBusVariant(iface->text(QAccessible::Name)))
           << QVariant::fromValue(application);
    return bus.send(signal);
}

QString labelText(const QWidget* label)
{
    return static_cast<const TLabel*>(label)->text();
}

} // namespace

void TForm1::describeControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed);
    m_notice = new TNotice(this);
    control(Control::Edit4)->setAccessibleName(labelText(control(Control::Label7)));
    m_list->setAccessibleName(labelText(control(Control::Label8)));
    m_list->setAccessibleDescription(QStringLiteral("Щелкните колонку  (Время)!"));
}

QAccessibleInterface* TForm1::accessibleFor(QWidget* widget)
{
    if (widget == this)
        return new QAccessibleWidget(this, QAccessible::Window);
    if (widget == m_notice)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    const int page = m_notebook->indexOf(widget);
    if (page >= 0) {
        std::vector<QWidget*> children;
        for (Control c : readingOrder(page))
            children.push_back(control(c));
        return new TPageAccessible(widget, std::move(children));
    }
    const auto found = std::find(m_controls.begin(), m_controls.end(), widget);
    if (found == m_controls.end())
        return nullptr;
    const auto c = static_cast<Control>(found - m_controls.begin());
    if (game::IsCard(c))
        return new TPaintedAccessible(this, c, QAccessible::Button);
    if (c >= Control::GIFAnimator1 && c <= Control::GIFAnimator10)
        return new TPaintedAccessible(this, c, QAccessible::Animation);
    if (c == Control::Panel1 || dynamic_cast<TLabel*>(widget) || dynamic_cast<TImage*>(widget))
        return new TPaintedAccessible(this, c, QAccessible::StaticText);
    return nullptr;
}

QString TForm1::accessibleName(Control c) const
{
    const QWidget* widget = control(c);
    if (game::IsCard(c)) {
        const int position = m_tags[game::ControlIndex(c)];
        const int picture = m_shownPicture[game::ControlIndex(c)];
        QString name = QStringLiteral("Карта %1, ").arg(position);
        if (picture == 0)
            return name + QStringLiteral("закрыта");
        const bool found = position >= 1 && position <= game::kCardCount
            && m_game.state().CardValue[position] == 0;
        return name + (found ? QStringLiteral("найдена: ") : QStringLiteral("открыта: "))
            + art::faceName(picture);
    }
    if (c >= Control::GIFAnimator1 && c <= Control::GIFAnimator10)
        return QStringLiteral("Найдена пара: ")
            + art::faceName(game::ControlIndex(c) - game::ControlIndex(Control::GIFAnimator1) + 1);
    switch (c) {
    case Control::Panel1:
        return QStringLiteral("Осталось времени: ") + labelText(control(Control::Label10))
            + labelText(control(Control::Label11)) + labelText(control(Control::Label12));
    case Control::Label3:
        return labelText(control(Control::Label1)) + QStringLiteral(": ") + labelText(widget);
    case Control::Label4:
        return labelText(control(Control::Label2)) + QStringLiteral(": ") + labelText(widget);
    case Control::Label6:
        return QStringLiteral("Игрок: ") + labelText(widget);
    default:
        return dynamic_cast<const TLabel*>(widget) ? labelText(widget).trimmed() : QString();
    }
}

void TForm1::tellScreenReader()
{
    // Without a screen reader nothing is told, and a mouse player's clicks cost nothing more; the
    // first change after one starts tells every name that has changed meanwhile.
    if (!screenReaderListens())
        return;
    std::vector<Control> told { Control::Label3, Control::Label4, Control::Label6 };
    for (int position = 1; position <= game::kCardCount; ++position)
        told.push_back(game::CardAtPosition(position));
    for (Control c : told) {
        QString name = accessibleName(c);
        if (name == m_spokenName[game::ControlIndex(c)])
            continue;
        m_spokenName[game::ControlIndex(c)] = std::move(name);
        if (!sendNameOverAtSpi(control(c))) {
            QAccessibleEvent changed(control(c), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }
}

void TForm1::pressLater(Control c)
{
    // The press of a card lands where a click on it would; that of a celebration ends it.
    QMetaObject::invokeMethod(
        this,
        [this, c] {
            if (QApplication::activeModalWidget())
                return; // a message box takes no press of the window's, as it takes no click
            if (game::IsCard(c))
                pressAt(c);
            else if (control(c)->isVisible())
                m_celebrationEnd();
        },
        Qt::QueuedConnection);
}

void TForm1::tell(const QString& text)
{
    if (screenReaderListens() && !text.isEmpty())
        static_cast<TNotice*>(m_notice)->say(text);
}

void TForm1::tellLater(std::function<QString()> text)
{
    if (!screenReaderListens())
        return;
    QMetaObject::invokeMethod(
        this, [this, text = std::move(text)] { tell(text()); }, Qt::QueuedConnection);
}

void TForm1::tellCelebration(int picture)
{
    // Told once the match is handled, with the counters it leaves.
    tellLater([this, picture] {
        return QStringLiteral("Найдена пара: %1. %2. %3. Часы стоят.")
            .arg(art::faceName(picture), accessibleName(Control::Label3),
                accessibleName(Control::Label4));
    });
}

void TForm1::tellCelebrationOver()
{
    // After the last pair the game is over instead (tellGameOver).
    tellLater([this] {
        return m_notebook->currentIndex() == static_cast<int>(game::Page::Game)
            ? QStringLiteral("Часы снова идут.")
            : QString();
    });
}

void TForm1::tellTimeLeft()
{
    tell(accessibleName(Control::Panel1) + QStringLiteral(". ") + accessibleName(Control::Label4)
        + QLatin1Char('.'));
}

void TForm1::tellGameOver()
{
    // The game's record is the last row (the list shows the file's order), its place that among
    // all rows by time, shortest first, whichever way the list was last sorted; it becomes the
    // list's current row, where a screen reader starts reading.
    const int rows = m_list->rowCount();
    if (!screenReaderListens() || rows == 0)
        return;
    const QString time = m_list->item(rows - 1, 0)->text();
    const results::SortState shortestFirst { 0, true };
    int place = 1;
    for (int r = 0; r < rows - 1; ++r)
        place += results::ListView1Compare(shortestFirst, m_list->item(r, 0)->text(), time) < 0;
    m_list->setCurrentCell(rows - 1, 0);
    tellLater([=] {
        return QStringLiteral("Игра окончена. Ваше время %1, место %2 из %3.")
            .arg(time)
            .arg(place)
            .arg(rows);
    });
}
