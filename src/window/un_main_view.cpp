// The view operations of the main window: what the game asks of the screen.
#include "un_main.h"

#include "animator/gif_animator.h"
#include "game/card_effects.h"
#include "hints/hint_appearance.h"
#include "un_assets.h"
#include "un_card_keys.h"
#include "un_controls.h"
#include "un_design.h"
#include "un_keys.h"
#include "un_label.h"
#include "un_screen_reader.h"

#include <QMessageBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

using game::Control;

void TForm1::ShowPage(int number)
{
    const auto page = static_cast<game::Page>(number);
    if (number < 0 || number > 2 || page == m_controls->shownPage())
        return;
    // Only the start page is prepared while the window is built.
    m_controls->fitLabels(page);
    m_assets->preparePage(page);
    const QWidget* focus = focusWidget();
    const bool focusInside = focus && notebook()->isAncestorOf(focus);
    const bool gameOver = page == game::Page::Hits && m_controls->shownPage() == game::Page::Game;
    notebook()->setCurrentIndex(number);
    // Each game starts without the card keys' focus mark.
    if (page == game::Page::Game)
        m_cardKeys->newGame();
    if (focusInside) {
        // The first control of the page that takes the focus; the game page has none.
        QWidget* first = page == game::Page::Start ? control(Control::Edit4)
            : page == game::Page::Hits             ? m_controls->list()
                                                   : m_controls->page(page);
        first->setFocus(Qt::OtherFocusReason);
    }
    m_buttonKeys->updateEnterTarget();
    m_screenReader->tellChanges();
    if (gameOver)
        m_screenReader->tellGameOver();
}

void TForm1::SetLabelText(Control label, const QString& text)
{
    TLabel* l = m_controls->label(label);
    if (!l)
        return;
    l->setText(text);
    // The clock's ticks are not announced; it is read when asked.
    if (label != Control::Label10 && label != Control::Label11 && label != Control::Label12)
        m_screenReader->tellChanges();
}

QString TForm1::GetEditText(Control edit)
{
    auto* e = qobject_cast<QLineEdit*>(control(edit));
    return e ? e->text() : QString();
}

void TForm1::SetCardPicture(Control picture, int index)
{
    if (!m_controls->image(picture) || index < 0 || index > game::kPictureCount)
        return;
    m_screenReader->cardShows(picture, index);
    m_assets->drawCard(picture, index);
}

void TForm1::RepaintNow(Control c)
{
    if (c == Control::Form1) {
        // The window's own surface: everything of it lies under the page container, whose
        // pages are drawn at the next ordinary paint.
        repaint(QRegion(rect()).subtracted(notebook()->geometry()));
        m_screenReader->tellChanges();
        return;
    }
    if (QWidget* w = control(c))
        w->repaint();
    // What a card shows now is said now: a pause may follow that blocks this thread.
    if (game::IsCard(c))
        m_screenReader->tellChanges();
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
    if (game::IsAnimator(c) && w->isVisible())
        m_screenReader->tellCelebrationOver();
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
    m_controls->setTag(c, tag);
}
int TForm1::ControlTag(Control c)
{
    return m_controls->tag(c);
}

void TForm1::FitAnimatorToPicture(Control c)
{
    if (auto* a = m_controls->animator(c))
        a->SetAutoSize(true);
}

void TForm1::SetAnimating(Control c, bool on)
{
    if (auto* a = m_controls->animator(c))
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
    m_controls->list()->setRowCount(0);
}

void TForm1::AddResultRow(const QString& time, const QString& name, const QString& date)
{
    QTableWidget* list = m_controls->list();
    const int row = list->rowCount();
    list->insertRow(row);
    list->setItem(row, 0, new QTableWidgetItem(time));
    list->setItem(row, 1, new QTableWidgetItem(name));
    list->setItem(row, 2, new QTableWidgetItem(date));
}

void TForm1::SortResultRows()
{
    struct Row
    {
        QString cells[3];
    };
    QTableWidget* list = m_controls->list();
    std::vector<Row> rows(list->rowCount());
    for (int r = 0; r < list->rowCount(); ++r) {
        for (int c = 0; c < 3; ++c)
            rows[r].cells[c] = list->item(r, c) ? list->item(r, c)->text() : QString();
    }
    std::stable_sort(rows.begin(), rows.end(), [this](const Row& a, const Row& b) {
        return m_game.ListView1Compare(a.cells[0], b.cells[0]) < 0;
    });
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < 3; ++c)
            list->item(r, c)->setText(rows[r].cells[c]);
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
    m_assets->loadAnimation(picture);
    game::RunStartCelebration(*this, picture);
    m_screenReader->tellCelebration(picture);
}

void TForm1::SetHintAppearance(int shape, int shadowDepth, bool hasTail, int alignment)
{
    hints::SetHintAppearance(static_cast<quint8>(shape), static_cast<quint8>(shadowDepth), hasTail,
        static_cast<quint8>(alignment));
}
