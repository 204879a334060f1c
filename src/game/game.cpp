// Start-up, the four buttons, the celebration end and closing.
#include "game/game.h"

namespace game {

Game::Game(GameView& view, PauseFunction pause)
    : m_view(view)
    , m_pause(std::move(pause))
{ }

void Game::FormCreate()
{
    // Rectangle, one-pixel shadow, no tail, centred text.
    m_view.SetHintAppearance(0, 1, false, 2);
    m_view.ShowPage(static_cast<int>(Page::Start));
    ResetRoundCounters(RoundMoment::StartUp);
    m_view.ClearResultRows();
    m_state.RandSeed = SeedFromClock();
    Deal();
    m_hitsFile.OpenAtStartup(m_hitsPath);
}

void Game::ResetRoundCounters(RoundMoment moment)
{
    if (moment != RoundMoment::End) {
        m_state.ClockMinutes = 5;
        m_state.ClockSeconds = 59;
        m_state.ClockHundredths = moment == RoundMoment::StartUp ? 100 : 99;
    }
    if (moment == RoundMoment::Start)
        return;
    m_state.PairsLeft = kPictureCount;
    m_state.PairsFound = 0;
    if (moment == RoundMoment::End) {
        m_view.SetLabelText(Control::Label4, QString::number(m_state.PairsLeft));
        m_view.SetLabelText(Control::Label3, QString::number(m_state.PairsFound));
    }
}

void Game::FormClose()
{
    m_hitsFile.Close();
}

void Game::BitBtn1Click()
{
    m_state.PlayerName = LeftChars(m_view.GetEditText(Control::Edit4), kNameCapacity);
    m_view.SetLabelText(Control::Label6, m_state.PlayerName);
    ResetRoundCounters(RoundMoment::Start);
    EnableAllCards();
    m_view.ShowPage(static_cast<int>(Page::Game));
    m_view.SetTimerEnabled(Control::Timer2, true);
}

void Game::BitBtn4Click()
{
    FillResultsTable();
}

void Game::BitBtn2Click()
{
    m_view.ShowPage(static_cast<int>(Page::Start));
}

void Game::BitBtn3Click()
{
    m_view.CloseWindow();
}

void Game::Timer1Timer()
{
    // Also the click handler of the animations; OpenValue names the one that plays.
    if (m_state.OpenValue >= 1 && m_state.OpenValue <= kPictureCount) {
        const Control animator = AnimatorFor(m_state.OpenValue);
        m_view.HideControl(animator);
        m_view.SetAnimating(animator, false);
    }
    m_view.SetTimerEnabled(Control::Timer2, true);
    m_view.SetTimerEnabled(Control::Timer1, false);
    if (m_state.PairsLeft == 0)
        WonEnd();
}

} // namespace game
