#pragma once

#include "art/artwork.h"
#include "game/game.h"
#include "game/view.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QStackedWidget;
class QTableWidget;
class TBitBtn;
class TEdit;
class TImage;
class TLabel;
class TPanel;

// The one main window: three pages with their controls. It carries out the view operations,
// delivers the events to the game and reports every failure that escapes a handler.
class TForm1 : public QWidget, public game::GameView
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr, game::PauseFunction pause = game::BlockingPause);
    ~TForm1() override;

    game::Game& gameLogic() { return m_game; }
    QWidget* control(game::Control c) const { return m_controls[static_cast<int>(c)]; }
    QTimer* timer(game::Control c) const;
    QStackedWidget* notebook() const { return m_notebook; }
    // Where errors escaping a handler are shown; tests put in one that records.
    std::function<void(const QString& text)> errorBox;
    // Where message boxes are shown; tests put in one that records.
    std::function<void(const QString& text, const QString& caption, game::MessageIcon)> messageBox;

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

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildStartPage(QWidget* page);
    void buildGamePage(QWidget* page);
    void buildHitsPage(QWidget* page);
    void buildAnimators(QWidget* page);
    void place(game::Control c, QWidget* widget, int left, int top, int width, int height);
    // Runs an event handler; a failure ends it and is reported in the error box.
    void handle(const std::function<void()>& handler);
    void showError(const QString& message);
    TBitBtn* button(game::Control c) const;
    QImage glyph(int button);
    void loadBackground(TImage* image, art::Background which);
    // Enter, accelerators and plain letters on a focused button, as the design asks.
    bool handleKey(QKeyEvent* event);
    void updateEnterTarget();
    TBitBtn* enterTarget() const;

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
    bool m_closeFailed = false;
    QMetaObject::Connection m_focusWatch;
};
