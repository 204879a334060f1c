#pragma once
// What a screen reader reads of the window and what it is told. Qt describes its own controls (the
// buttons, the name box, the results list, the message boxes); the controls the window paints
// itself get their interfaces here: the cards are buttons named by number and state, a
// celebration can be ended by its press action, the counters and the player's name are read
// with their captions, the clock's digits as one time. Each page lists what it shows in reading
// order and leaves out the pictures that only decorate and the captions the counters already say.
//
// A change the player must hear is sent when the picture changes (tellChanges): a wrong pair's
// second face shows only during a pause that blocks the GUI thread, which answers the screen
// reader's questions meanwhile (PauseAnsweringScreenReaders, un_notice.h). The clock is read when
// asked, never announced: it changes every 15 ms. What a sighted player sees happen beyond the
// controls' names (a celebration, a game's end) is told through a notice (TNotice). Nothing is
// sent while no screen reader listens, so a mouse player pays nothing.

#include "game/controls.h"
#include "game/game_state.h"
#include "un_accessible.h"

#include <QString>

#include <array>
#include <functional>

class QAccessibleInterface;
class QWidget;
class TFormControls;
class TNotice;

class TScreenReader : public TReadable
{
public:
    // What the screen reader needs of the window beyond its controls.
    struct Window
    {
        // Whether a screen reader listens.
        std::function<bool()> listens;
        // The card the card keys' focus is on.
        std::function<bool(game::Control card)> hasCardFocus;
        // A press of a card: lands where a click on its place would.
        std::function<void(game::Control card)> pressCard;
        std::function<void()> endCelebration;
    };

    TScreenReader(
        QWidget* window, const TFormControls& controls, const game::GameState& state, Window hooks);
    ~TScreenReader();

    QWidget* window() const { return m_window; }
    QWidget* notice() const;
    // The interface of one of the window's own controls, or null for those Qt describes itself.
    QAccessibleInterface* interfaceFor(QWidget* widget);
    // What a control reads: a card's number and state, a counter with its caption, the clock's
    // time left.
    QString name(game::Control c) const override;
    // Whether the card keys' focus is on the card.
    bool cardFocused(game::Control card) const override;
    // A press of a card or a celebration: handled from the event queue, as a click is.
    void press(game::Control c) override;

    // Card `card` shows picture `index` now (0 the back).
    void cardShows(game::Control card, int index);
    // Sends a name change for every control whose name is no longer the one sent.
    void tellChanges();
    void tellFocus(QWidget* card);
    // The moments a sighted player sees: a celebration's start (once the match is handled, with
    // the counters it leaves) and its end, the time and pairs left, a game's end with its time
    // and place among the records (its record becomes the list's current row).
    void tellCelebration(int picture);
    void tellCelebrationOver();
    void tellTimeLeft();
    void tellGameOver();

private:
    void tell(const QString& text);
    void tellLater(std::function<QString()> text);
    bool listens() const { return m_hooks.listens(); }

    QWidget* m_window;
    const TFormControls& m_controls;
    const game::GameState& m_state;
    Window m_hooks;
    TNotice* m_notice;
    // The picture each card shows (0 the back), and each control's name last sent.
    std::array<int, game::ControlIndex(game::Control::Count)> m_shownPicture {};
    std::array<QString, game::ControlIndex(game::Control::Count)> m_spokenName;
};
