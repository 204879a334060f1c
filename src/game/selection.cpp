// Card selection: the first card of an attempt, a match, a wrong pair.
#include "game/game.h"

namespace game {

void Game::Image1Click(Control sender)
{
    if (!IsImage(sender))
        return;
    const int position = m_view.ControlTag(sender);
    if (position < 1 || position > kCardCount)
        return;
    const int value = m_state.CardValue[position];
    if (value == 0)
        return;

    if (!m_state.CardOpen) {
        m_state.OpenValue = value;
        m_view.SetCardPicture(sender, value);
        m_view.RepaintNow(sender);
        m_state.CardOpen = true;
        m_state.FirstCardName = QString::fromLatin1(ControlName(sender));
        // Clicking the open card again must not count as the second card.
        m_view.SetCardEnabled(sender, false);
        return;
    }

    if (value == m_state.OpenValue) {
        m_view.SetCardPicture(sender, value);
        m_view.RepaintNow(sender);
        m_view.SetCardEnabled(sender, true);
        m_view.StartCelebration(m_state.OpenValue);
        const Control first = m_view.FindCard(m_state.FirstCardName);
        const int firstPosition = m_view.ControlTag(first);
        if (firstPosition >= 1 && firstPosition <= kCardCount)
            m_state.CardValue[firstPosition] = 0;
        m_state.CardValue[position] = 0;
        m_state.CardOpen = false;
        ++m_state.PairsFound;
        m_view.SetLabelText(Control::Label3, QString::number(m_state.PairsFound));
        --m_state.PairsLeft;
        m_view.SetLabelText(Control::Label4, QString::number(m_state.PairsLeft));
        // The clock stands still while the pair is celebrated.
        m_view.SetTimerEnabled(Control::Timer2, false);
        return;
    }

    m_state.SecondCardName = QString::fromLatin1(ControlName(sender));
    m_view.SetCardPicture(sender, value);
    m_view.RepaintNow(sender);
    m_pause(kWrongPairPause);
    m_view.CloseCardWithShutter(m_view.FindCard(m_state.FirstCardName));
    m_view.CloseCardWithShutter(m_view.FindCard(m_state.SecondCardName));
    m_state.CardOpen = false;
}

} // namespace game
