#pragma once

#include "game/view.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

// A view that records every call as text ("SetCardPicture(Image7,3)") and keeps the state a
// player would see (pictures drawn and on screen, texts, rows, the page) and what the game logic
// reads back (tags, geometry, enabled flags).
class RecordingView : public game::GameView
{
public:
    using Control = game::Control;

    struct Row
    {
        QString time, name, date;
    };

    QStringList calls;
    // Optional extra behaviour, e.g. a failure injected into a view operation.
    std::function<void(const QString& call)> onCall;

    int page = 2;
    QString editText = QStringLiteral("Новый игрок");
    std::vector<Row> rows;
    // Used by SortResultRows, like the list calling back its compare handler.
    std::function<int(const QString&, const QString&)> compare;

    std::array<int, static_cast<int>(Control::Count)> tags {};
    std::array<int, static_cast<int>(Control::Count)> lefts {};
    std::array<int, static_cast<int>(Control::Count)> tops {};
    std::array<int, static_cast<int>(Control::Count)> heights {};
    std::array<bool, static_cast<int>(Control::Count)> enabled {};
    std::array<bool, static_cast<int>(Control::Count)> visible {};
    // Last picture index drawn on a control, -1 for none.
    std::array<int, static_cast<int>(Control::Count)> picture {};
    // The picture on screen: what was drawn at the control's last repaint, its own or the
    // window's (-1 before any).
    std::array<int, static_cast<int>(Control::Count)> onScreen {};
    std::array<QString, static_cast<int>(Control::Count)> texts {};
    std::array<bool, static_cast<int>(Control::Count)> timerOn {};
    // Animations sized to their picture, and those playing.
    std::array<bool, static_cast<int>(Control::Count)> fitted {};
    std::array<bool, static_cast<int>(Control::Count)> animating {};
    // The picture whose celebration the view was last asked to start (0 for none).
    int celebration = 0;

    RecordingView();

    // The calls recorded since the last take, and forget them.
    QStringList take();

    static int at(Control c) { return game::ControlIndex(c); }
    // What the player sees now: the picture a control shows, the text a label says.
    int shows(Control c) const { return onScreen[at(c)]; }
    QString says(Control label) const { return texts[at(label)]; }
    // The time captions of the rows, top to bottom.
    QStringList captions() const;

    void ShowPage(int p) override;
    void SetLabelText(Control label, const QString& text) override;
    QString GetEditText(Control edit) override;
    void SetCardPicture(Control c, int index) override;
    void RepaintNow(Control c) override;
    void SetCardEnabled(Control c, bool on) override;
    void ShowControl(Control c) override;
    void HideControl(Control c) override;
    void MoveControl(Control c, int left, int top) override;
    void SetControlHeight(Control c, int height) override;
    int ControlLeft(Control c) override { return lefts[at(c)]; }
    int ControlTop(Control c) override { return tops[at(c)]; }
    int ControlHeight(Control c) override { return heights[at(c)]; }
    void SetControlTag(Control c, int tag) override;
    int ControlTag(Control c) override { return tags[at(c)]; }
    void FitAnimatorToPicture(Control c) override;
    void SetAnimating(Control c, bool on) override;
    void SetTimerEnabled(Control timer, bool on) override;
    void ShowMessageBox(
        const QString& text, const QString& caption, game::MessageIcon icon) override;
    Control FindCard(const QString& name) override;
    void ClearResultRows() override;
    void AddResultRow(const QString& time, const QString& name, const QString& date) override;
    void SortResultRows() override;
    void CloseWindow() override;
    void CloseCardWithShutter(Control card) override;
    void StartCelebration(int picture) override;
    void SetHintAppearance(int shape, int depth, bool tail, int alignment) override;

private:
    void record(const QString& call);
};
