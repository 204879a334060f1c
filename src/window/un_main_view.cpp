// The view operations of the main window: what the game asks of the screen.
#include "un_main.h"

#include "animator/gif_animator.h"
#include "game/card_effects.h"
#include "hints/hint_appearance.h"
#include "un_controls.h"

#include <QMessageBox>
#include <QStackedWidget>
#include <QTableWidget>

#include <algorithm>

using game::Control;

void TForm1::ShowPage(int page)
{
    if (page < 0 || page > 2 || page == m_notebook->currentIndex())
        return;
    // Only the start page's pictures are loaded while the window is built.
    loadPageAssets(page);
    const QWidget* focus = focusWidget();
    const bool focusInside = focus && m_notebook->isAncestorOf(focus);
    const bool gameOver = page == static_cast<int>(game::Page::Hits)
        && m_notebook->currentIndex() == static_cast<int>(game::Page::Game);
    m_notebook->setCurrentIndex(page);
    // Each game starts without the card keys' focus mark.
    if (page == static_cast<int>(game::Page::Game))
        resetCardFocus();
    if (focusInside) {
        if (page == 0)
            control(Control::Edit4)->setFocus(Qt::OtherFocusReason);
        else if (page == 2)
            m_list->setFocus(Qt::OtherFocusReason);
        else
            m_notebook->widget(1)->setFocus(Qt::OtherFocusReason);
    }
    updateEnterTarget();
    tellScreenReader();
    if (gameOver)
        tellGameOver();
}

void TForm1::SetLabelText(Control label, const QString& text)
{
    auto* l = dynamic_cast<TLabel*>(control(label));
    if (!l)
        return;
    l->setText(text);
    // The clock's ticks are not announced; it is read when asked.
    if (label != Control::Label10 && label != Control::Label11 && label != Control::Label12)
        tellScreenReader();
}

QString TForm1::GetEditText(Control edit)
{
    auto* e = qobject_cast<QLineEdit*>(control(edit));
    return e ? e->text() : QString();
}

void TForm1::SetCardPicture(Control picture, int index)
{
    auto* image = dynamic_cast<TImage*>(control(picture));
    if (!image || index < 0 || index > game::kPictureCount)
        return;
    m_shownPicture[game::ControlIndex(picture)] = index;
    if (!m_cardsReady) {
        m_pendingCardDraws.emplace_back(picture, index);
        return;
    }
    if (index >= static_cast<int>(m_cardImages.size()))
        return; // the card pictures are damaged: nothing to draw
    image->resizePicture(90, 80, qRound(m_cardImages[index].devicePixelRatio()));
    image->drawMasked(m_cardImages[index], m_cardMasks[index]);
}

void TForm1::RepaintNow(Control c)
{
    if (c == Control::Form1) {
        // The window's own surface: everything of it lies under the page container, whose
        // pages are drawn at the next ordinary paint.
        repaint(QRegion(rect()).subtracted(m_notebook->geometry()));
        tellScreenReader();
        return;
    }
    if (QWidget* w = control(c))
        w->repaint();
    // What a card shows now is said now: a pause may follow that blocks this thread.
    if (game::IsCard(c))
        tellScreenReader();
}

void TForm1::SetCardEnabled(Control card, bool enabled)
{
    if (QWidget* w = control(card))
        w->setEnabled(enabled);
}

void TForm1::ShowControl(Control c)
{
    if (QWidget* w = control(c))
        w->show();
}

void TForm1::HideControl(Control c)
{
    QWidget* w = control(c);
    if (!w)
        return;
    if (game::AnimatorFor(1) <= c && c <= game::AnimatorFor(game::kPictureCount) && w->isVisible())
        tellCelebrationOver();
    w->hide();
}

void TForm1::MoveControl(Control c, int left, int top)
{
    if (QWidget* w = control(c))
        w->move(left, top);
}

void TForm1::SetControlHeight(Control c, int height)
{
    if (QWidget* w = control(c))
        w->resize(w->width(), height);
}

int TForm1::ControlLeft(Control c)
{
    return control(c) ? control(c)->x() : 0;
}
int TForm1::ControlTop(Control c)
{
    return control(c) ? control(c)->y() : 0;
}
int TForm1::ControlHeight(Control c)
{
    return control(c) ? control(c)->height() : 0;
}
void TForm1::SetControlTag(Control c, int tag)
{
    m_tags[game::ControlIndex(c)] = tag;
}
int TForm1::ControlTag(Control c)
{
    return m_tags[game::ControlIndex(c)];
}

void TForm1::FitAnimatorToPicture(Control c)
{
    if (auto* a = dynamic_cast<animator::TGIFAnimator*>(control(c)))
        a->SetAutoSize(true);
}

void TForm1::SetAnimating(Control c, bool on)
{
    if (auto* a = dynamic_cast<animator::TGIFAnimator*>(control(c)))
        a->SetAnimate(on);
}

void TForm1::SetTimerEnabled(Control c, bool on)
{
    QTimer* t = timer(c);
    if (!t)
        return;
    // Switching on a running timer must not restart its interval.
    if (on && !t->isActive())
        t->start();
    else if (!on)
        t->stop();
}

void TForm1::ShowMessageBox(const QString& text, const QString& caption, game::MessageIcon icon)
{
    if (messageBox) {
        messageBox(text, caption, icon);
        return;
    }
    const QMessageBox::Icon kind = icon == game::MessageIcon::Warning ? QMessageBox::Warning
        : icon == game::MessageIcon::Error                            ? QMessageBox::Critical
                                                                      : QMessageBox::Information;
    QMessageBox box(kind, caption, text, QMessageBox::Ok, this);
    box.exec();
}

Control TForm1::FindCard(const QString& name)
{
    const auto c = game::ControlByName(name);
    return c && game::IsCard(*c) ? *c : Control::Form1;
}

void TForm1::ClearResultRows()
{
    m_list->setRowCount(0);
}

void TForm1::AddResultRow(const QString& time, const QString& name, const QString& date)
{
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    m_list->setItem(row, 0, new QTableWidgetItem(time));
    m_list->setItem(row, 1, new QTableWidgetItem(name));
    m_list->setItem(row, 2, new QTableWidgetItem(date));
}

void TForm1::SortResultRows()
{
    struct Row
    {
        QString cells[3];
    };
    std::vector<Row> rows(m_list->rowCount());
    for (int r = 0; r < m_list->rowCount(); ++r) {
        for (int c = 0; c < 3; ++c)
            rows[r].cells[c] = m_list->item(r, c) ? m_list->item(r, c)->text() : QString();
    }
    std::stable_sort(rows.begin(), rows.end(), [this](const Row& a, const Row& b) {
        return m_game.ListView1Compare(a.cells[0], b.cells[0]) < 0;
    });
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < 3; ++c)
            m_list->item(r, c)->setText(rows[r].cells[c]);
    }
}

void TForm1::CloseWindow()
{
    close();
}

void TForm1::CloseCardWithShutter(Control card)
{
    game::RunShutter(*this, card, m_pause);
}

void TForm1::StartCelebration(int picture)
{
    loadAnimation(picture);
    game::RunStartCelebration(*this, picture);
    tellCelebration(picture);
}

void TForm1::SetHintAppearance(int shape, int shadowDepth, bool hasTail, int alignment)
{
    hints::SetHintAppearance(static_cast<quint8>(shape), static_cast<quint8>(shadowDepth), hasTail,
        static_cast<quint8>(alignment));
}
