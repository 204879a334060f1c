// Playing without a mouse or without sight: the card keys, and what a screen reader reads and
// hears of every page.
#include "form_fixture.h"

#include "art/faces.h"

#include <QAccessible>

// Qt sends no accessibility events without a screen reader, which the offscreen platform never
// has: the events themselves are heard by the end-to-end game through the accessibility tree.
class Access : public FormFixture
{
protected:
    QAccessibleInterface* ui(Control c) const
    {
        return QAccessible::queryAccessibleInterface(w(c));
    }
    QString name(Control c) const { return ui(c)->text(QAccessible::Name); }
    QString name(int position) const { return name(card(position)); }
    // The names of what a page shows, in the order a screen reader reads them.
    QStringList read(int page) const
    {
        auto* p = QAccessible::queryAccessibleInterface(form->notebook()->widget(page));
        QStringList names;
        for (int i = 0; i < p->childCount(); ++i) {
            if (!p->child(i)->state().invisible)
                names << p->child(i)->text(QAccessible::Name);
        }
        return names;
    }
    void press(Control c)
    {
        ui(c)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
    }
    QString face(int position) { return art::faceName(state().CardValue[position]); }
    bool focused(int position) { return ui(card(position))->state().focused; }
    // The other card of this one's pair; the first card below row 1 that is not of it.
    int mate(int p)
    {
        return positionOf(state().CardValue[p], positionOf(state().CardValue[p]) == p ? 1 : 0);
    }
    int other(int p)
    {
        int q = 6;
        while (state().CardValue[q] == state().CardValue[p])
            ++q;
        return q;
    }
    // The arrow keys from the focused card to `to`.
    void goTo(int from, int to)
    {
        for (; (from - 1) / 5 < (to - 1) / 5; from += 5)
            key(Qt::Key_Down);
        for (; (from - 1) / 5 > (to - 1) / 5; from -= 5)
            key(Qt::Key_Up);
        for (; from < to; ++from)
            key(Qt::Key_Right);
        for (; from > to; --from)
            key(Qt::Key_Left);
    }
};

TEST_F(Access, EveryPageReadsItsControlsInOrderWithTheirNames)
{
    EXPECT_EQ(read(0), QStringList({ "Введите имя", "Введите имя", "Старт", "Результаты" }));
    EXPECT_EQ(ui(Control::Edit4)->role(), QAccessible::EditableText);
    startGame();
    form->SetLabelText(Control::Label10, "4");
    form->SetLabelText(Control::Label11, ":07");
    form->SetLabelText(Control::Label12, ":31");
    const QStringList game = read(1);
    ASSERT_EQ(game.size(), 24);
    EXPECT_EQ(game.mid(0, 4),
        QStringList({ "Игрок: Новый игрок", "Осталось времени: 4:07:31", "Открыто пар: 0",
            "Осталось пар: 10" }));
    EXPECT_EQ(game[23], "Карта 20, закрыта");
    EXPECT_EQ(ui(card(20))->role(), QAccessible::Button);

    form->gameLogic().BitBtn4Click();
    form->AddResultRow("2:00:00", "Маша", "01.01.2020 10:00:00");
    EXPECT_EQ(read(2),
        QStringList({ "Результаты играков", "Щелкните в шапку колонк для сортировки!",
            "Результаты играков", "Играть", "Выход" }));
    QAccessibleInterface* list = ui(Control::ListView1);
    EXPECT_EQ(list->text(QAccessible::Description), "Щелкните колонку  (Время)!");
    ASSERT_EQ(list->tableInterface()->rowCount(), 1);
    EXPECT_EQ(list->tableInterface()->columnCount(), 3);
    EXPECT_EQ(list->tableInterface()->cellAt(0, 1)->text(QAccessible::Name), "Маша");
}

TEST_F(Access, APressTurnsACardAsAClickDoesAndItsNameSaysWhatItShows)
{
    startGame();
    const int a = 3, b = other(a), m = mate(a);
    press(card(a));
    EXPECT_EQ(name(a), "Карта 3, открыта: " + face(a));
    EXPECT_TRUE(ui(card(a))->state().disabled);
    // The wrong card shows its face in its name during the pause that ends with the shutter.
    QString duringPause;
    atPause = [&] {
        if (duringPause.isEmpty())
            duringPause = name(b);
    };
    press(card(b));
    EXPECT_EQ(duringPause, QStringLiteral("Карта %1, открыта: ").arg(b) + face(b));
    EXPECT_EQ(name(b), QStringLiteral("Карта %1, закрыта").arg(b));
    EXPECT_FALSE(ui(card(a))->state().disabled);

    press(card(a));
    press(card(m));
    EXPECT_EQ(name(a), "Карта 3, найдена: " + art::faceName(state().OpenValue));
    EXPECT_EQ(name(Control::Label3), "Открыто пар: 1");
    const Control celebration = game::AnimatorFor(state().OpenValue);
    EXPECT_EQ(ui(celebration)->role(), QAccessible::Animation);
    EXPECT_EQ(name(celebration), "Найдена пара: " + art::faceName(state().OpenValue));
    // A card under the celebration is pressed where a click lands: on the celebration.
    press(card(b));
    EXPECT_FALSE(w(celebration)->isVisible());
    EXPECT_EQ(name(b), QStringLiteral("Карта %1, закрыта").arg(b));
}

TEST_F(Access, ArrowsMoveTheCardFocusByTagAndSpaceDoesWhatAClickDoes)
{
    startGame();
    const QImage untouched = form->grab().toImage();
    key(Qt::Key_Space); // no card has the focus yet
    EXPECT_FALSE(state().CardOpen);
    EXPECT_EQ(form->grab().toImage(), untouched);
    key(Qt::Key_Left); // the first arrow shows the focus on card 1
    EXPECT_TRUE(focused(1));
    for (int k : { Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down })
        key(k);
    EXPECT_TRUE(focused(16)); // at the edges the focus stays
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(state().FirstCardName, "Image18");
    key(Qt::Key_Space); // the open card takes no second turn
    EXPECT_TRUE(pauses.isEmpty());

    // Keys pressed during the wrong pair's pause wait for its end.
    const int b = other(17);
    atPause = [&] {
        atPause = nullptr;
        for (Qt::Key k : { Qt::Key_Up, Qt::Key_Space })
            QCoreApplication::postEvent(
                form->windowHandle(), new QKeyEvent(QEvent::KeyPress, k, {}));
    };
    goTo(17, b);
    key(Qt::Key_Space);
    QApplication::processEvents();
    EXPECT_TRUE(focused(b - 5));
    EXPECT_EQ(state().FirstCardName, game::ControlName(card(b - 5)));

    // The mouse hides the mark; the next arrow shows it where it was.
    clickAt(QPoint(5, 590));
    EXPECT_FALSE(focused(b - 5));
    key(Qt::Key_Down);
    EXPECT_TRUE(focused(b - 5));
    // Space during a celebration ends it.
    goTo(b - 5, mate(b - 5));
    key(Qt::Key_Space);
    ASSERT_TRUE(w(game::AnimatorFor(state().OpenValue))->isVisible());
    key(Qt::Key_Space);
    EXPECT_FALSE(w(game::AnimatorFor(state().OpenValue))->isVisible());
}
