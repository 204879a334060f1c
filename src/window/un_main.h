#pragma once
// TForm1, the one main window: three pages with their controls, built from the designed
// geometry (un_design.cpp). It carries out the view operations (un_main_view.cpp), delivers the
// events to the game through one forwarding helper, applies the key rules of the design
// (un_keys.cpp) and the card keys (un_card_keys.cpp), tells screen readers what its own painted
// controls show (un_accessible.cpp), loads the built-in pictures behind one guard
// (un_assets.cpp) and reports every failure that escapes a handler.

#include "art/artwork.h"
#include "game/game.h"
#include "game/view.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QAccessibleInterface;
class QStackedWidget;
class QTableWidget;
class TBitBtn;

class TForm1 : public QWidget, public game::GameView
{
    Q_OBJECT
public:
    // Without a pause of its own, the game pauses in a way that still answers a screen reader
    // (PauseAnsweringScreenReaders).
    explicit TForm1(QWidget* parent = nullptr, game::PauseFunction pause = {});
    ~TForm1() override;

    game::Game& gameLogic() { return m_game; }
    // Loads now whatever the window has not loaded yet (pictures are loaded when first needed).
    void finishLoading();
    QWidget* control(game::Control c) const { return m_controls[game::ControlIndex(c)]; }
    QTimer* timer(game::Control c) const;
    QStackedWidget* notebook() const { return m_notebook; }
    // Where message boxes are shown; tests put in one that records.
    std::function<void(const QString& text, const QString& caption, game::MessageIcon)> messageBox;
    // Whether a screen reader listens (QAccessible::isActive); tests, which have no accessibility
    // bridge, say so themselves. Nothing is told to none.
    std::function<bool()> screenReaderListens;

    // View operations.
    void ShowPage(int page) override;
    void SetLabelText(game::Control label, const QString& text) override;
    QString GetEditText(game::Control edit) override;
    void SetCardPicture(game::Control picture, int index) override;
    void RepaintNow(game::Control control) override;
    void SetCardEnabled(game::Control card, bool enabled) override;
    void ShowControl(game::Control control) override;
    void HideControl(game::Control control) override;
    void MoveControl(game::Control control, int left, int top) override;
    void SetControlHeight(game::Control control, int height) override;
    int ControlLeft(game::Control control) override;
    int ControlTop(game::Control control) override;
    int ControlHeight(game::Control control) override;
    void SetControlTag(game::Control control, int tag) override;
    int ControlTag(game::Control control) override;
    void FitAnimatorToPicture(game::Control animator) override;
    void SetAnimating(game::Control animator, bool on) override;
    void SetTimerEnabled(game::Control timer, bool on) override;
    void ShowMessageBox(
        const QString& text, const QString& caption, game::MessageIcon icon) override;
    game::Control FindCard(const QString& name) override;
    void ClearResultRows() override;
    void AddResultRow(const QString& time, const QString& name, const QString& date) override;
    void SortResultRows() override;
    void CloseWindow() override;
    void CloseCardWithShutter(game::Control card) override;
    void StartCelebration(int picture) override;
    void SetHintAppearance(int shape, int shadowDepth, bool hasTail, int alignment) override;

    // Screen readers (un_accessible.cpp). The accessible interface of one of the window's own
    // controls, or null for those Qt describes itself.
    QAccessibleInterface* accessibleFor(QWidget* widget);
    // What a screen reader reads for a control: a card's number and state, a counter with its
    // caption, the clock's time left.
    QString accessibleName(game::Control c) const;
    // The card the arrow keys have put the focus on, while its mark shows.
    bool hasCardFocus(game::Control card) const;
    // A press of a card or a celebration from a screen reader: handled from the event queue, as
    // a click is, and with the same outcome.
    void pressLater(game::Control c);
    // The notice through which a screen reader is told what happens (un_accessible.cpp).
    QWidget* notice() const { return m_notice; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // un_design.cpp: every control at its designed place, in the design's creation order.
    void buildPages();
    void arrangeGamePage();
    void buildResultsList();
    // un_assets.cpp: the pictures into their controls; a damaged one is reported and its
    // control goes without. The start page's while the window is built, the others when first
    // needed.
    void loadAssets();
    void loadPageAssets(int page);
    void loadAnimation(int picture);
    void loadGuarded(const std::function<void()>& load);
    void loadBackground(game::Control image, art::Background picture);
    void loadGlyph(int n); // BitBtn<n>'s
    art::Density density() const;
    // un_main.cpp: the events of the controls and timers, each forwarded to the game.
    void connectEvents();
    // A function that runs the game's handler `event` with the given arguments; a failure ends
    // the handler and is reported, and the program goes on.
    template <typename... Args> auto forward(void (game::Game::*event)(Args...));

    // un_keys.cpp: Enter, accelerators and plain letters on a focused button.
    bool handleKey(QKeyEvent* event);
    void watchKeys();
    void updateEnterTarget();
    TBitBtn* enterTarget() const;
    TBitBtn* button(game::Control c) const;

    // un_card_keys.cpp: the arrow keys move a focus over the cards, Space acts on it.
    void buildCardMark();
    void resetCardFocus();
    bool handleCardKey(QKeyEvent* event);
    void moveCardFocus(int rows, int columns);
    void hideCardFocus();
    // What a click on the card's place does: turns it, or ends the celebration lying over it.
    void pressAt(game::Control card);

    // un_accessible.cpp.
    void describeControls();
    // Sends a name change for every control whose accessible name is no longer the one sent.
    void tellScreenReader();
    // Says `text` through the notice, when a screen reader listens; later: once the event being
    // handled is over (what `text` reads then, the counters for one, is what the game left).
    void tell(const QString& text);
    void tellLater(std::function<QString()> text);
    // The moments a sighted player sees: a celebration's start and end, the time and pairs left
    // (asked for with a key), a game's end with its time and place among the records.
    void tellCelebration(int picture);
    void tellCelebrationOver();
    void tellTimeLeft();
    void tellGameOver();

    game::Game m_game;
    game::PauseFunction m_pause;
    std::array<QWidget*, static_cast<int>(game::Control::Count)> m_controls {};
    std::array<int, static_cast<int>(game::Control::Count)> m_tags {};
    QStackedWidget* m_notebook = nullptr;
    QTableWidget* m_list = nullptr;
    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
    std::vector<QImage> m_cardImages;
    std::vector<QImage> m_cardMasks;
    bool m_cardsReady = false;
    bool m_hitsPageLoaded = false;
    std::array<bool, game::kPictureCount> m_animationLoaded {};
    std::vector<std::pair<game::Control, int>> m_pendingCardDraws;
    std::vector<game::Control> m_labelsToFit; // on the results and game pages
    std::function<void()> m_celebrationEnd;
    std::function<void(game::Control)> m_cardClick;
    // The picture each card shows (0 the back), and each control's accessible name last sent.
    std::array<int, static_cast<int>(game::Control::Count)> m_shownPicture {};
    std::array<QString, static_cast<int>(game::Control::Count)> m_spokenName;
    QWidget* m_cardMark = nullptr;
    QWidget* m_notice = nullptr;
    int m_cardFocus = 1; // a card's Tag
    bool m_cardFocusShown = false;
    bool m_closeFailed = false;
    QMetaObject::Connection m_focusWatch;
};
