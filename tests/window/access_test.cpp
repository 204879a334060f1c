// Playing without a mouse or without sight, where the end-to-end games do not go: what the
// painted controls read, presses where a click would not turn a card, the card keys at the
// grid's edges and during a pause, and the mouse taking over from them.
#include "form_fixture.h"

#include <QAccessible>

class Access : public FormFixture
{
protected:
    QAccessibleInterface* ui(Control c) const
    {
        return QAccessible::queryAccessibleInterface(w(c));
    }
    bool focused(int position) const { return ui(card(position))->state().focused; }
    void press(Control c)
    {
        ui(c)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
    }
    int mate(int p)
    {
        return positionOf(state().CardValue[p], positionOf(state().CardValue[p]) == p);
    }
};

TEST_F(Access, TheClockTheCountersAndTheNameReadWithTheirCaptions)
{
    startGame();
    form->SetLabelText(Control::Label10, "4");
    form->SetLabelText(Control::Label11, ":07");
    form->SetLabelText(Control::Label12, ":31");
    auto* page = QAccessible::queryAccessibleInterface(form->notebook()->widget(1));
    QStringList read;
    for (int i = 0; i < 4; ++i)
        read << page->child(i)->text(QAccessible::Name);
    EXPECT_EQ(read,
        QStringList({ "Игрок: Новый игрок", "Осталось времени: 4:07:31", "Открыто пар: 0",
            "Осталось пар: 10" }));
    EXPECT_EQ(ui(Control::ListView1)->text(QAccessible::Description), "Щелкните колонку  (Время)!");
}

TEST_F(Access, APressLandsWhereAClickWould)
{
    startGame();
    press(card(3));
    ASSERT_TRUE(ui(card(3))->state().disabled);
    press(card(3)); // the open card lets the click through to the page
    EXPECT_EQ(state().FirstCardName, "Image3");
    EXPECT_TRUE(pauses.isEmpty());
    press(card(mate(3)));
    ASSERT_TRUE(w(game::AnimatorFor(state().OpenValue))->isVisible());
    const int closed = mate(3) == 4 ? 5 : 4;
    press(card(closed)); // under the celebration: the press ends it
    EXPECT_FALSE(w(game::AnimatorFor(state().OpenValue))->isVisible());
    EXPECT_EQ(
        ui(card(closed))->text(QAccessible::Name), QStringLiteral("Карта %1, закрыта").arg(closed));
}

TEST_F(Access, TheCardKeysStopAtTheEdgesWaitForAPauseAndGiveWayToTheMouse)
{
    startGame();
    form->timer(Control::Timer2)->stop();
    const QImage untouched = form->grab().toImage();
    key(Qt::Key_Space); // no card has the focus yet
    EXPECT_FALSE(state().CardOpen);
    EXPECT_EQ(form->grab().toImage(), untouched);
    for (int k :
        { Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down })
        key(k);
    EXPECT_TRUE(focused(16));
    key(Qt::Key_Space);
    // A card of another pair above, then keys pressed during the wrong pair's pause.
    const int second = state().CardValue[11] == state().CardValue[16] ? 12 : 11;
    key(Qt::Key_Up);
    if (second == 12)
        key(Qt::Key_Right);
    bool posted = false;
    atPause = [&] {
        if (std::exchange(posted, true))
            return;
        for (Qt::Key k : { Qt::Key_Down, Qt::Key_Space })
            QCoreApplication::postEvent(
                form->windowHandle(), new QKeyEvent(QEvent::KeyPress, k, {}));
    };
    key(Qt::Key_Space);
    QApplication::processEvents();
    EXPECT_TRUE(focused(second + 5));
    EXPECT_EQ(state().FirstCardName, game::ControlName(card(second + 5)));
    clickAt(QPoint(5, 590)); // the mouse hides the mark; the next arrow shows it where it was
    EXPECT_FALSE(focused(second + 5));
    key(Qt::Key_Up);
    EXPECT_TRUE(focused(second + 5));
}
