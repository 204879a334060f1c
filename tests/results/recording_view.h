#pragma once

#include "game/view.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

namespace results_test {

// A view that keeps the result rows and a log of the calls the results table makes. Its sort
// orders the rows with the comparison it is given, as the window's list does.
class RecordingView : public game::GameView
{
public:
    struct Row
    {
        QString time, name, date;
    };

    std::vector<Row> rows;
    QStringList calls;
    std::function<int(const QString&, const QString&)> compare;

    QStringList captions() const
    {
        QStringList out;
        for (const Row& row : rows)
            out << row.time;
        return out;
    }

    void ClearResultRows() override
    {
        calls << "ClearResultRows";
        rows.clear();
    }
    void AddResultRow(const QString& time, const QString& name, const QString& date) override
    {
        calls << "AddResultRow";
        rows.push_back({ time, name, date });
    }
    void SortResultRows() override
    {
        calls << "SortResultRows";
        std::sort(rows.begin(), rows.end(),
            [this](const Row& a, const Row& b) { return compare(a.time, b.time) < 0; });
    }
    void ShowPage(int page) override { calls << QStringLiteral("ShowPage %1").arg(page); }

    // Nothing else is used by the results table; a call would show up in the log.
    void SetLabelText(game::Control, const QString&) override { calls << "SetLabelText"; }
    QString GetEditText(game::Control) override { return {}; }
    void SetCardPicture(game::Control, int) override { calls << "SetCardPicture"; }
    void RepaintNow(game::Control) override { calls << "RepaintNow"; }
    void SetCardEnabled(game::Control, bool) override { calls << "SetCardEnabled"; }
    void ShowControl(game::Control) override { calls << "ShowControl"; }
    void HideControl(game::Control) override { calls << "HideControl"; }
    void MoveControl(game::Control, int, int) override { calls << "MoveControl"; }
    void SetControlHeight(game::Control, int) override { calls << "SetControlHeight"; }
    int ControlLeft(game::Control) override { return 0; }
    int ControlTop(game::Control) override { return 0; }
    int ControlHeight(game::Control) override { return 0; }
    void SetControlTag(game::Control, int) override { calls << "SetControlTag"; }
    int ControlTag(game::Control) override { return 0; }
    void FitAnimatorToPicture(game::Control) override { calls << "FitAnimatorToPicture"; }
    void SetAnimating(game::Control, bool) override { calls << "SetAnimating"; }
    void SetTimerEnabled(game::Control, bool) override { calls << "SetTimerEnabled"; }
    void ShowMessageBox(const QString&, const QString&, game::MessageIcon) override
    {
        calls << "ShowMessageBox";
    }
    game::Control FindCard(const QString&) override { return game::Control::Image1; }
    void CloseWindow() override { calls << "CloseWindow"; }
    void CloseCardWithShutter(game::Control) override { calls << "CloseCardWithShutter"; }
    void StartCelebration(int) override { calls << "StartCelebration"; }
    void SetHintAppearance(int, int, bool, int) override { calls << "SetHintAppearance"; }
};

} // namespace results_test
