#pragma once

#include "game/game_state.h"
#include "game/pause.h"
#include "game/view.h"
#include "results/hits_file.h"

#include <QDateTime>
#include <QLocale>

#include <functional>

namespace game {

inline constexpr const char* kHitsFileName = "hits.dat";
inline constexpr const char* kTimeOutSuffix = " (истекло время)";
inline constexpr int kNameCapacity = 30;
inline constexpr int kDateCapacity = 20;

// The game's rules: board and deal, card selection, countdown clock, game end and page flow.
// It reaches the window only through the view. Failures (file errors) escape as exceptions
// and end the event that raised them; the window reports them.
class Game : public GameEvents
{
public:
    explicit Game(GameView& view, PauseFunction pause = BlockingPause);

    // Events.
    void FormCreate() override;
    void FormClose() override;
    void Image1Click(Control sender) override;
    void BitBtn1Click() override;
    void BitBtn2Click() override;
    void BitBtn3Click() override;
    void BitBtn4Click() override;
    void Timer1Timer() override;
    void Timer2Timer() override;
    void ListView1ColumnClick(int column) override;
    int ListView1Compare(const QString& caption1, const QString& caption2) override;

    // Board.
    void Deal();
    void EnableAllCards();
    // A draw in 0 … range−1 from RandSeed (linear congruential, upper bits of the product).
    static int Random(std::uint32_t& seed, int range);
    // A seed from the monotonic high-resolution clock.
    static std::uint32_t SeedFromClock();

    // The elapsed time M:SS:HH worked out from the clock; sets the Elapsed* fields.
    QString ElapsedText();

    // The record's date: short date, one space, the time with seconds without a zone name.
    static QString DateText(const QDateTime& when, const QLocale& locale);

    GameState& state() { return m_state; }
    const GameState& state() const { return m_state; }
    results::HitsFile& hitsFile() { return m_hitsFile; }
    // Where hits.dat lives (the working directory by default).
    void setHitsFilePath(const QString& path) { m_hitsPath = path; }
    // The clock used for the record's date; tests fix it.
    void setNow(std::function<QDateTime()> now) { m_now = std::move(now); }

    // Fills the results list from hits.dat: ClearResultRows, then AddResultRow(time, name, date)
    // for each record in file order (read into the one record buffer), then the results page.
    // The rows are left unsorted whatever the last sort was. A file error ends the fill where
    // it happened: the rows added so far stay and the page is not changed.
    void FillResultsTable();

private:
    // The moments a round's counters are set back, each setting what is its own.
    enum class RoundMoment {
        StartUp, // the clock at 5:59:100 (the panel keeps its designed texts until the first
                 // tick) and the pairs, their labels left as designed
        Start, // "Старт": the clock at 5:59:99; the first tick shows it
        End, // a game's end: the pairs and their labels; the clock keeps the end's time
    };
    void ResetRoundCounters(RoundMoment moment);
    void WonEnd();
    void TimedOutEnd();
    void FinishEnd();
    void ShowClock();

    GameView& m_view;
    PauseFunction m_pause;
    GameState m_state;
    results::HitsFile m_hitsFile;
    QString m_hitsPath = QString::fromLatin1(kHitsFileName);
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTime(); };
};

// The first n characters of a text; a character outside the basic plane counts as one.
QString LeftChars(const QString& text, int n);

} // namespace game
