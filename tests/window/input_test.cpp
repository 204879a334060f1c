// What a player does with the mouse and keys, sent through the window.
#include "form_fixture.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QWindow>

class Input : public FormFixture
{ };

TEST_F(Input, ADisabledCardLetsTheClickFallThroughAndShowsTheArrow)
{
    startGame();
    const int first = 1;
    click(card(first));
    ASSERT_TRUE(state().CardOpen);
    ASSERT_FALSE(w(card(first))->isEnabled());
    // Qt hands the click to the page; nothing happens, the first card stays the open one.
    click(card(first));
    EXPECT_TRUE(state().CardOpen);
    EXPECT_EQ(state().FirstCardName, "Image1");
    EXPECT_TRUE(pauses.isEmpty());
    // The pointer the window shows: the hand over a card in play, the arrow over the open one.
    QTest::mouseMove(form->windowHandle(), centre(card(2)));
    EXPECT_EQ(form->windowHandle()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(form->windowHandle(), centre(card(first)));
    EXPECT_EQ(form->windowHandle()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(form->windowHandle(), centre(card(3)));
    EXPECT_EQ(form->windowHandle()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(Input, PressAndReleaseMustBothBeOnTheCard)
{
    startGame();
    // Released outside: no click.
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, centre(card(3)));
    QTest::mouseMove(form->windowHandle(), centre(card(4)));
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, centre(card(4)));
    EXPECT_FALSE(state().CardOpen);
    // Other buttons do nothing.
    clickAt(centre(card(3)), Qt::RightButton);
    clickAt(centre(card(3)), Qt::MiddleButton);
    EXPECT_FALSE(state().CardOpen);
    click(card(3));
    EXPECT_TRUE(state().CardOpen);
}

TEST_F(Input, TheSecondPressOfADoubleClickIsNoClick)
{
    startGame();
    const int a = 1;
    int b = 2;
    while (state().CardValue[b] == state().CardValue[a])
        ++b;
    click(card(a));
    // A double-click on the wrong second card: the first click closes the pair, the second
    // press must not open the card again.
    // Press, release, double-click press, release.
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, centre(card(b)));
    EXPECT_FALSE(state().CardOpen);
    EXPECT_EQ(pauses.count("600"), 1);
    EXPECT_TRUE(w(card(b))->isEnabled());
}

TEST_F(Input, EnterPressesTheDefaultButtonOfTheVisiblePageOnly)
{
    // Start page, focus in the name box: "Старт".
    ASSERT_EQ(QApplication::focusWidget(), w(Control::Edit4));
    key(Qt::Key_Return);
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(state().PlayerName, "Новый игрок");
    // Game page: nothing, not even with the focus left on a hidden control.
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    EXPECT_EQ(page(), 1);
    // Results page: "Играть" from the list, "Выход" only when it has the focus.
    form->gameLogic().BitBtn4Click();
    ASSERT_EQ(page(), 2);
    w(Control::ListView1)->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(page(), 0);
    // "Результаты" with the focus takes Enter itself.
    w(Control::BitBtn4)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(page(), 2);
    // Enter with a modifier presses nothing; Escape presses nothing.
    w(Control::ListView1)->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_Return, Qt::ShiftModifier);
    key(Qt::Key_Escape);
    EXPECT_EQ(page(), 2);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Input, EnterPressesTheButtonWithTheFocusOnEveryPageAndEscapeNothing)
{
    struct Case
    {
        int page;
        Control focus;
        int pageAfter; // after Enter
    };
    // With the focus on a button Enter presses that button; "Выход" closes the window.
    const Case cases[] = { { 0, Control::BitBtn1, 1 }, { 0, Control::BitBtn4, 2 },
        { 2, Control::BitBtn2, 0 }, { 2, Control::BitBtn3, 2 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(game::ControlName(c.focus));
        form->ShowPage(c.page);
        form->show();
        w(c.focus)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), w(c.focus));
        key(Qt::Key_Escape);
        EXPECT_EQ(page(), c.page);
        EXPECT_TRUE(form->isVisible());
        key(Qt::Key_Return);
        EXPECT_EQ(page(), c.pageAfter);
        EXPECT_EQ(form->isVisible(), c.focus != Control::BitBtn3);
        form->timer(Control::Timer2)->stop();
    }
    // Escape on the game page, with the focus in the page, does nothing either.
    form->show();
    startGame();
    key(Qt::Key_Escape);
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Input, AcceleratorsInEitherCaseAndPlainLettersOnAFocusedButton)
{
    keyText(u'р', Qt::AltModifier); // lower-case Cyrillic er
    EXPECT_EQ(page(), 2);
    keyText(u'И', Qt::AltModifier);
    EXPECT_EQ(page(), 0);
    // Alt+И on the start page has no button to press; the name box keeps its text.
    keyText(u'и', Qt::AltModifier);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(static_cast<QLineEdit*>(w(Control::Edit4))->text(), "Новый игрок");
    // A plain letter in the name box is typing, not an accelerator.
    keyText(u'р');
    EXPECT_EQ(page(), 0);
    // With the focus on a button the letter alone presses its button.
    w(Control::BitBtn1)->setFocus(Qt::TabFocusReason);
    keyText(u'Р');
    EXPECT_EQ(page(), 2);
    // "Старт" has no accelerator: С does nothing.
    form->ShowPage(0);
    w(Control::BitBtn1)->setFocus(Qt::TabFocusReason);
    keyText(u'с', Qt::AltModifier);
    EXPECT_EQ(page(), 0);
}

TEST_F(Input, TabWalksThePageInOrderAndWraps)
{
    auto order = [this](int steps, bool back) {
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            key(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            QWidget* f = QApplication::focusWidget();
            QString name = "?";
            for (int c = 0; c < static_cast<int>(Control::Count); ++c) {
                if (f && f == w(static_cast<Control>(c)))
                    name = game::ControlName(static_cast<Control>(c));
            }
            names << name;
        }
        return names;
    };
    EXPECT_EQ(order(3, false), QStringList({ "BitBtn1", "BitBtn4", "Edit4" }));
    EXPECT_EQ(order(2, true), QStringList({ "BitBtn4", "BitBtn1" }));
    form->gameLogic().BitBtn4Click();
    ASSERT_EQ(QApplication::focusWidget(), w(Control::ListView1));
    EXPECT_EQ(order(3, false), QStringList({ "BitBtn2", "BitBtn3", "ListView1" }));
    form->ShowPage(0);
    startGame();
    QWidget* before = QApplication::focusWidget();
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST_F(Input, NameBoxSelectsAllFromKeysAndProgramButNotFromAClick)
{
    auto* edit = static_cast<QLineEdit*>(w(Control::Edit4));
    EXPECT_EQ(edit->selectedText(), "Новый игрок");
    key(Qt::Key_Tab);
    edit->deselect();
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), "Новый игрок");
    w(Control::BitBtn1)->setFocus(Qt::TabFocusReason);
    edit->deselect();
    click(Control::Edit4);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_TRUE(edit->selectedText().isEmpty());
    // After "Играть" the last name is there again, selected.
    edit->setText("Маша");
    key(Qt::Key_Return);
    form->gameLogic().BitBtn4Click();
    form->gameLogic().BitBtn2Click();
    EXPECT_EQ(edit->selectedText(), "Маша");
}

TEST_F(Input, ClicksDuringAnEffectWaitAndGoToWhatLiesThereAfterwards)
{
    startGame();
    // A click the player makes during the wrong pair's pause waits in the window system's queue,
    // and reaches whatever the window's hit testing finds there afterwards: the first card, its
    // back shown again and enabled.
    int b = 2;
    while (state().CardValue[b] == state().CardValue[1])
        ++b;
    bool queued = false;
    const QPoint at = centre(card(1));
    atPause = [&] {
        if (queued)
            return;
        queued = true;
        // Queued to the native window, which finds the control under the pointer when the
        // event loop runs again.
        QWindow* window = form->windowHandle();
        const QPointF global = window->mapToGlobal(at);
        QCoreApplication::postEvent(window,
            new QMouseEvent(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton,
                Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(window,
            new QMouseEvent(QEvent::MouseButtonRelease, at, at, global, Qt::LeftButton,
                Qt::NoButton, Qt::NoModifier));
    };
    click(card(1));
    click(card(b));
    // Delivered during the effect, the click would have met the first card disabled and done
    // nothing; afterwards it turns it again.
    QApplication::processEvents();
    EXPECT_TRUE(state().CardOpen);
    EXPECT_EQ(state().FirstCardName, "Image1");
    EXPECT_EQ(pauses.count("600"), 1);
}
