// Playing without a mouse or without sight, where the end-to-end games do not go: what the
// painted controls read, presses where a click would not turn a card, the card keys at the
// grid's edges and during a pause, and the mouse taking over from them.
#include "form_fixture.h"

#include "art/faces.h"

#include <QAccessible>
#include <QTableWidget>

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

TEST_F(Access, AScreenReaderIsToldOfCelebrationsTheClockOnTAndEachEndWithItsTimeAndPlace)
{
    form->screenReaderListens = [] { return true; };
    QStringList told;
    const auto hear = [&] {
        QApplication::processEvents();
        QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(form->notice());
        if (notice->role() == QAccessible::Notification && !notice->state().invisible)
            told << notice->text(QAccessible::Name);
    };
    startGame();
    form->timer(Control::Timer2)->stop();
    form->SetLabelText(Control::Label10, "4");
    form->SetLabelText(Control::Label11, ":07");
    form->SetLabelText(Control::Label12, ":31");
    key(Qt::Key_T);
    hear();
    const auto findPair = [&](int value) {
        const int p = positionOf(value);
        click(card(p));
        click(card(mate(p)));
        hear();
        click(game::AnimatorFor(value)); // ends the celebration
        hear();
    };
    const int first = state().CardValue[1];
    findPair(first);
    state().PairsLeft = 1; // the next pair is the last
    const int last = state().CardValue[positionOf(first) == 2 || mate(1) == 2 ? 3 : 2];
    findPair(last);
    form->gameLogic().BitBtn2Click();
    startGame();
    state().ClockMinutes = state().ClockSeconds = 0;
    state().ClockHundredths = 1;
    form->gameLogic().Timer2Timer(); // the time runs out
    hear();
    const auto* list = static_cast<QTableWidget*>(w(Control::ListView1));
    EXPECT_EQ(told,
        QStringList({ "Осталось времени: 4:07:31. Осталось пар: 10.",
            "Найдена пара: " + art::faceName(first)
                + ". Открыто пар: 1. Осталось пар: 9. Часы стоят.",
            "Часы снова идут.",
            "Найдена пара: " + art::faceName(last)
                + ". Открыто пар: 2. Осталось пар: 0. Часы стоят.",
            "Игра окончена. Ваше время " + list->item(0, 0)->text() + ", место 1 из 1.",
            "Игра окончена. Ваше время 5:59:99, место 2 из 2." }));
    EXPECT_EQ(list->currentRow(), 1); // the new record, where a screen reader starts reading
}
