// Countdown clock: one shown hundredth per tick of Timer2, from 5:59:99 down to 0:00:00.
#include "game/game.h"

#include <array>

namespace game {

namespace {

// The texts the clock shows, made once: a tick then hands out shared copies and allocates
// nothing.
struct ClockTexts
{
    std::array<QString, 100> numbers, twoDigitParts;
    ClockTexts()
    {
        for (int value = 0; value < 100; ++value) {
            numbers[value] = QString::number(value);
            twoDigitParts[value]
                = (value > 9 ? QStringLiteral(":") : QStringLiteral(":0")) + numbers[value];
        }
    }
};

const ClockTexts& Texts()
{
    static const ClockTexts texts;
    return texts;
}

QString Number(int value)
{
    return value >= 0 && value < 100 ? Texts().numbers[value] : QString::number(value);
}

// ":07" or ":28": seconds and hundredths always show two digits.
QString TwoDigitPart(int value)
{
    if (value >= 0 && value < 100)
        return Texts().twoDigitParts[value];
    return (value > 9 ? QStringLiteral(":") : QStringLiteral(":0")) + QString::number(value);
}

} // namespace

void Game::Timer2Timer()
{
    if (--m_state.ClockHundredths < 0) {
        --m_state.ClockSeconds;
        m_state.ClockHundredths = 99;
    }
    if (m_state.ClockSeconds < 0) {
        --m_state.ClockMinutes;
        m_state.ClockSeconds = 59;
    }
    ShowClock();
    if (m_state.ClockMinutes <= 0 && m_state.ClockSeconds <= 0 && m_state.ClockHundredths <= 0)
        TimedOutEnd();
}

void Game::ShowClock()
{
    m_view.SetLabelText(Control::Label12, TwoDigitPart(m_state.ClockHundredths));
    m_view.SetLabelText(Control::Label11, TwoDigitPart(m_state.ClockSeconds));
    m_view.SetLabelText(Control::Label10, Number(m_state.ClockMinutes));
}

QString Game::ElapsedText()
{
    m_state.ElapsedSeconds = 59 - m_state.ClockSeconds;
    m_state.ElapsedSecondsText = TwoDigitPart(m_state.ElapsedSeconds);
    m_state.ElapsedHundredths = 99 - m_state.ClockHundredths;
    m_state.ElapsedHundredthsText = TwoDigitPart(m_state.ElapsedHundredths);
    return QString::number(5 - m_state.ClockMinutes) + m_state.ElapsedSecondsText
        + m_state.ElapsedHundredthsText;
}

} // namespace game
