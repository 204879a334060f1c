#pragma once
// TForm1, the one main window. It carries the design's names and wires the window's parts to the
// game: the controls built from the design (un_design.h), the pictures (un_assets.h), the card
// keys (un_card_keys.h), the buttons' key rules (un_keys.h) and the screen reader
// (un_screen_reader.h). It carries out the view operations (un_main_view.cpp), delivers the
// events to the game through one forwarding helper and reports every failure that escapes a
// handler.

#include "game/game.h"
#include "game/view.h"

#include <QWidget>

#include <functional>
#include <memory>

class QStackedWidget;
class QTimer;
class TAssets;
class TButtonKeys;
class TCardKeys;
class TFormControls;
class TScreenReader;

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
    QWidget* control(game::Control c) const;
    QTimer* timer(game::Control c) const;
    QStackedWidget* notebook() const;
    // Where message boxes are shown; tests put in one that records.
    std::function<void(const QString& text, const QString& caption, game::MessageIcon)> messageBox;
    // Whether a screen reader listens (QAccessible::isActive); tests, which have no accessibility
    // bridge, say so themselves. Nothing is told to none.
    std::function<bool()> screenReaderListens;
    // The notice through which a screen reader is told what happens.
    QWidget* notice() const;

    // View operations (un_main_view.cpp).
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

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls of the design, and the parts that carry the pictures, the keys and the screen
    // reader, in the design's order of creation.
    void makeParts();
    // The events of the controls and timers, each forwarded to the game.
    void connectEvents();
    // A function that runs the game's handler `event` with the given arguments; a failure ends
    // the handler and is reported, and the program goes on.
    template <typename... Args> auto forward(void (game::Game::*event)(Args...));

    game::PauseFunction m_pause;
    game::Game m_game;
    std::unique_ptr<TFormControls> m_controls;
    std::unique_ptr<TAssets> m_assets;
    std::unique_ptr<TCardKeys> m_cardKeys;
    std::unique_ptr<TButtonKeys> m_buttonKeys;
    std::unique_ptr<TScreenReader> m_screenReader;
    std::function<void()> m_celebrationEnd;
    std::function<void(game::Control)> m_cardClick;
    bool m_closeFailed = false;
    QMetaObject::Connection m_focusWatch;
};
