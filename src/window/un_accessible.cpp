#include "un_accessible.h"

#include <QAccessibleWidget>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QWidget>

using game::Control;

namespace {

// One of the window's painted controls, read through the screen reader.
class TPaintedAccessible : public QAccessibleWidget
{
public:
    TPaintedAccessible(TReadable* reader, QWidget* widget, Control control, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
        , m_reader(reader)
        , m_control(control)
    { }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? m_reader->name(m_control) : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (game::IsCard(m_control)) {
            s.focusable = true;
            s.focused = m_reader->cardFocused(m_control);
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
            m_reader->press(m_control);
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

    TReadable* m_reader;
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

} // namespace

QAccessibleInterface* NewPaintedInterface(
    TReadable* readable, QWidget* widget, Control control, QAccessible::Role role)
{
    return new TPaintedAccessible(readable, widget, control, role);
}

QAccessibleInterface* NewPageInterface(QWidget* page, std::vector<QWidget*> children)
{
    return new TPageAccessible(page, std::move(children));
}

bool SendNameOverAtSpi(QWidget* widget)
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
