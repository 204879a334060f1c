// The two ends of a game: the last pair's celebration is over, or the clock ran out.
#include "game/game.h"

namespace game {

QString LeftChars(const QString& text, int n)
{
    int units = 0;
    for (int chars = 0; chars < n && units < text.size(); ++chars)
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    return text.left(units);
}

QString Game::DateText(const QDateTime& when, const QLocale& locale)
{
    // The locale's long time format without its time-zone name ("t").
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString timeFormat;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (timeFormat.endsWith(u' '))
                timeFormat.chop(1);
            continue;
        }
        timeFormat += c;
    }
    const QString text = locale.toString(when.date(), QLocale::ShortFormat) + u' '
        + locale.toString(when.time(), timeFormat.trimmed());
    return LeftChars(text, kDateCapacity);
}

void Game::WonEnd()
{
    m_view.SetTimerEnabled(Control::Timer2, false);
    m_state.Record.setName(m_state.PlayerName);
    FinishEnd();
}

void Game::TimedOutEnd()
{
    m_view.SetTimerEnabled(Control::Timer2, false);
    m_view.ShowMessageBox(
        QStringLiteral("Истекло время!"), QStringLiteral("Мнемира"), MessageIcon::Warning);
    m_state.Record.setName(
        LeftChars(m_state.PlayerName + QString::fromUtf8(kTimeOutSuffix), kNameCapacity));
    FinishEnd();
}

void Game::FinishEnd()
{
    // A card left open when the time ran out must not pair with the next game's first click.
    m_state.CardOpen = false;
    m_state.FirstCardName.clear();
    m_state.Record.setTime(LeftChars(ElapsedText(), 30));
    m_state.Record.setDate(DateText(m_now(), QLocale::system()));
    m_hitsFile.Append(m_state.Record);
    // The deal repaints the whole window: the new board is on screen face down.
    Deal();
    ResetRoundCounters(RoundMoment::End);
    FillResultsTable();
}

} // namespace game
