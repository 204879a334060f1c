#pragma once
// Playing the cards with the keyboard: on the game page the arrow keys move a focus over the
// 4 × 5 grid in the cards' Tag order, Space does there what a click does, and T asks for the time
// left. The focus is drawn as a mark only once an arrow key was pressed in this game, so a
// player who never presses one sees every pixel as designed; the mouse hides it again until the
// next arrow key.

#include "game/controls.h"

#include <functional>

class QKeyEvent;
class QWidget;
class TFormControls;

class TCardKeys
{
public:
    // What the keys do beyond the focus: a click on a card, the end of the celebration lying over
    // the cards, the time told to a screen reader, the focus told to a screen reader.
    struct Actions
    {
        std::function<void(game::Control card)> clickCard;
        std::function<void()> endCelebration;
        std::function<void()> tellTimeLeft;
        std::function<void(QWidget* card)> focusMoved;
    };

    TCardKeys(const TFormControls& controls, Actions actions);

    // A key pressed while the game page shows; true when it was one of the card keys.
    bool handleKey(QKeyEvent* event);
    // Each game starts without the mark, at card 1.
    void newGame();
    // The mouse takes over: the mark goes until the next arrow key.
    void hideMark();
    // The card the arrow keys have put the focus on, while its mark shows.
    bool focusesOn(game::Control card) const;
    // What a click on the card's place does: turns it, or ends the celebration lying over it.
    void pressAt(game::Control card);

private:
    void step(int rows, int columns);
    bool celebrating() const;

    const TFormControls& m_controls;
    Actions m_actions;
    QWidget* m_mark;
    int m_focus = 1; // a card's Tag
    bool m_shown = false;
};
