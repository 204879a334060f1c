#pragma once

#include "game/controls.h"

#include <QString>

namespace game {

// Pages of the page container.
enum class Page : int { Start = 0, Game = 1, Hits = 2 };

enum class MessageIcon { Information, Warning, Error };

// Everything the game logic may change in the window. The window carries these out; tests use
// a view that records the calls. Control arguments name components; Form1 names the whole window.
class GameView
{
public:
    virtual ~GameView() = default;

    // Makes page 0 … 2 the visible one; nothing at all when it already is or is out of range.
    virtual void ShowPage(int page) = 0;
    // Replaces a label's text; auto-sized labels keep the edge of their alignment.
    virtual void SetLabelText(Control label, const QString& text) = 0;
    // The current text of a text box (Edit4).
    virtual QString GetEditText(Control edit) = 0;
    // Draws card picture 0 … 10 over the control's own 90 × 80 picture through the picture
    // list's mask; any other index does nothing.
    virtual void SetCardPicture(Control picture, int index) = 0;
    // Puts the control (or, for Form1, the window's own surface) on the screen before returning.
    virtual void RepaintNow(Control control) = 0;
    // A disabled card looks the same but lets clicks fall through and shows the arrow pointer.
    virtual void SetCardEnabled(Control card, bool enabled) = 0;
    virtual void ShowControl(Control control) = 0;
    virtual void HideControl(Control control) = 0;
    virtual void MoveControl(Control control, int left, int top) = 0;
    // Sets the height; the top edge stays.
    virtual void SetControlHeight(Control control, int height) = 0;
    virtual int ControlLeft(Control control) = 0;
    virtual int ControlTop(Control control) = 0;
    virtual int ControlHeight(Control control) = 0;
    // The Tag property of a control (a card's position 1 … 20; 0 for every other control).
    virtual void SetControlTag(Control control, int tag) = 0;
    virtual int ControlTag(Control control) = 0;
    // Turns on the animation control's automatic sizing to its picture.
    virtual void FitAnimatorToPicture(Control animator) = 0;
    virtual void SetAnimating(Control animator, bool on) = 0;
    // Timer1 or Timer2. On for a stopped timer starts a full interval; on for a running timer
    // changes nothing; off stops it.
    virtual void SetTimerEnabled(Control timer, bool on) = 0;
    // A modal box with one confirmation button; returns when the player has closed it.
    virtual void ShowMessageBox(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // The card control with this component name.
    virtual Control FindCard(const QString& name) = 0;
    virtual void ClearResultRows() = 0;
    virtual void AddResultRow(const QString& time, const QString& name, const QString& date) = 0;
    // Sorts the rows by asking the game's ListView1Compare for pairs of rows.
    virtual void SortResultRows() = 0;
    // Closes the window exactly as its close box does.
    virtual void CloseWindow() = 0;
    // Closes a card of a wrong pair with the shutter; ends with the back shown, the card
    // repainted and enabled. Blocks for the effect's pauses.
    virtual void CloseCardWithShutter(Control card) = 0;
    // Places, shows and starts animation N (1 … 10) over the board and starts Timer1.
    virtual void StartCelebration(int picture) = 0;
    // The hint style of the application (shape, shadow depth, tail, text alignment).
    virtual void SetHintAppearance(int shape, int shadowDepth, bool hasTail, int alignment) = 0;
};

// The events the window delivers to the game logic, each run to completion on the window thread.
class GameEvents
{
public:
    virtual ~GameEvents() = default;

    virtual void FormCreate() = 0;
    virtual void FormClose() = 0;
    // A click on any of the twenty cards; sender is the card.
    virtual void Image1Click(Control sender) = 0;
    virtual void BitBtn1Click() = 0; // "Старт"
    virtual void BitBtn2Click() = 0; // "Играть"
    virtual void BitBtn3Click() = 0; // "Выход"
    virtual void BitBtn4Click() = 0; // "Результаты"
    // A tick of Timer1, a click on an animation, a change report of GIFAnimator6.
    virtual void Timer1Timer() = 0;
    virtual void Timer2Timer() = 0;
    virtual void ListView1ColumnClick(int column) = 0;
    // Order of two rows given by their captions (the time column): negative when the first
    // row goes before the second.
    virtual int ListView1Compare(const QString& caption1, const QString& caption2) = 0;
};

} // namespace game
