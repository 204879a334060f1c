#include "recording_view.h"

#include "game/card_grid.h"

#include <algorithm>

using game::Control;
using game::ControlName;

namespace {
QString name(Control c)
{
    return QString::fromLatin1(ControlName(c));
}
QString flag(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}
} // namespace

RecordingView::RecordingView()
{
    picture.fill(-1);
    onScreen.fill(-1);
    enabled.fill(true);
    // The designed card grid, so the shutter has real places to move to.
    for (int position = 1; position <= game::kCardCount; ++position) {
        const int i = at(game::CardAtPosition(position));
        lefts[i] = game::kCardPlaces[position - 1].left;
        tops[i] = game::kCardPlaces[position - 1].top;
        heights[i] = game::kCardHeight;
    }
    lefts[at(Control::Image22)] = 39;
    tops[at(Control::Image22)] = 88;
    heights[at(Control::Image22)] = 10;
}

QStringList RecordingView::captions() const
{
    QStringList out;
    for (const Row& row : rows)
        out << row.time;
    return out;
}

QStringList RecordingView::take()
{
    QStringList out;
    out.swap(calls);
    return out;
}

void RecordingView::record(const QString& call)
{
    calls << call;
    if (onCall)
        onCall(call);
}

void RecordingView::ShowPage(int p)
{
    record(QStringLiteral("ShowPage(%1)").arg(p));
    if (p >= 0 && p <= 2)
        page = p;
}

void RecordingView::SetLabelText(Control label, const QString& text)
{
    record(QStringLiteral("SetLabelText(%1,%2)").arg(name(label), text));
    texts[at(label)] = text;
}

QString RecordingView::GetEditText(Control edit)
{
    record(QStringLiteral("GetEditText(%1)").arg(name(edit)));
    return editText;
}

void RecordingView::SetCardPicture(Control c, int index)
{
    record(QStringLiteral("SetCardPicture(%1,%2)").arg(name(c)).arg(index));
    if (index >= 0 && index <= 10)
        picture[at(c)] = index;
}

void RecordingView::RepaintNow(Control c)
{
    record(QStringLiteral("RepaintNow(%1)").arg(name(c)));
    if (c == Control::Form1)
        onScreen = picture;
    else
        onScreen[at(c)] = picture[at(c)];
}

void RecordingView::SetCardEnabled(Control c, bool on)
{
    record(QStringLiteral("SetCardEnabled(%1,%2)").arg(name(c), flag(on)));
    enabled[at(c)] = on;
}

void RecordingView::ShowControl(Control c)
{
    record(QStringLiteral("ShowControl(%1)").arg(name(c)));
    visible[at(c)] = true;
}

void RecordingView::HideControl(Control c)
{
    record(QStringLiteral("HideControl(%1)").arg(name(c)));
    visible[at(c)] = false;
}

void RecordingView::MoveControl(Control c, int left, int top)
{
    record(QStringLiteral("MoveControl(%1,%2,%3)").arg(name(c)).arg(left).arg(top));
    lefts[at(c)] = left;
    tops[at(c)] = top;
}

void RecordingView::SetControlHeight(Control c, int height)
{
    record(QStringLiteral("SetControlHeight(%1,%2)").arg(name(c)).arg(height));
    heights[at(c)] = height;
}

void RecordingView::SetControlTag(Control c, int tag)
{
    // Not recorded: the deal sets all twenty each time, which would drown the sequences.
    tags[at(c)] = tag;
}

void RecordingView::FitAnimatorToPicture(Control c)
{
    record(QStringLiteral("FitAnimatorToPicture(%1)").arg(name(c)));
    fitted[at(c)] = true;
}

void RecordingView::SetAnimating(Control c, bool on)
{
    record(QStringLiteral("SetAnimating(%1,%2)").arg(name(c), flag(on)));
    animating[at(c)] = on;
}

void RecordingView::SetTimerEnabled(Control timer, bool on)
{
    record(QStringLiteral("SetTimerEnabled(%1,%2)").arg(name(timer), flag(on)));
    timerOn[at(timer)] = on;
}

void RecordingView::ShowMessageBox(
    const QString& text, const QString& caption, game::MessageIcon icon)
{
    record(
        QStringLiteral("ShowMessageBox(%1,%2,%3)").arg(text, caption).arg(static_cast<int>(icon)));
}

Control RecordingView::FindCard(const QString& n)
{
    record(QStringLiteral("FindCard(%1)").arg(n));
    const auto c = game::ControlByName(n);
    return c ? *c : Control::Form1;
}

void RecordingView::ClearResultRows()
{
    record(QStringLiteral("ClearResultRows()"));
    rows.clear();
}

void RecordingView::AddResultRow(const QString& time, const QString& n, const QString& date)
{
    record(QStringLiteral("AddResultRow(%1,%2,%3)").arg(time, n, date));
    rows.push_back({ time, n, date });
}

void RecordingView::SortResultRows()
{
    record(QStringLiteral("SortResultRows()"));
    if (compare) {
        std::stable_sort(rows.begin(), rows.end(),
            [this](const Row& a, const Row& b) { return compare(a.time, b.time) < 0; });
    }
}

void RecordingView::CloseWindow()
{
    record(QStringLiteral("CloseWindow()"));
}

void RecordingView::CloseCardWithShutter(Control card)
{
    record(QStringLiteral("CloseCardWithShutter(%1)").arg(name(card)));
    picture[at(card)] = onScreen[at(card)] = 0;
    enabled[at(card)] = true;
}

void RecordingView::StartCelebration(int p)
{
    record(QStringLiteral("StartCelebration(%1)").arg(p));
    celebration = p;
}

void RecordingView::SetHintAppearance(int shape, int depth, bool tail, int alignment)
{
    record(QStringLiteral("SetHintAppearance(%1,%2,%3,%4)")
               .arg(shape)
               .arg(depth)
               .arg(flag(tail))
               .arg(alignment));
}
