#pragma once

#include "results/hit_record.h"
#include "results/results_table.h"

#include <QString>

#include <array>
#include <cstdint>

namespace game {

// Everything the game keeps between events, in one object a test can create fresh.
struct GameState
{
    // Board: picture number per position 1 … 20 (index 0 unused); 0 once the pair is found.
    std::array<std::int32_t, 21> CardValue {};
    // Cards of each picture number placed by the deal (index 0 unused).
    std::array<std::int32_t, 11> ValueCount {};
    // The one random generator state shared by every draw.
    std::uint32_t RandSeed = 0;

    // Selection: the first card of the current attempt.
    bool CardOpen = false;
    std::int32_t OpenValue = 0;
    QString FirstCardName;
    QString SecondCardName;
    // The pair counters, shown in Label3 and Label4. Every game starts at 0 and 10 (start-up and
    // both ends set them), so PairsLeft is also what decides the won end: no third count of the
    // pairs on the board is kept beside them.
    std::int32_t PairsFound = 0;
    std::int32_t PairsLeft = 10;

    // Countdown clock (Label10, Label11, Label12) and the elapsed time worked out at game end.
    std::int32_t ClockMinutes = 0;
    std::int32_t ClockSeconds = 0;
    std::int32_t ClockHundredths = 0;
    std::int32_t ElapsedSeconds = 0;
    std::int32_t ElapsedHundredths = 0;
    QString ElapsedSecondsText;
    QString ElapsedHundredthsText;

    QString PlayerName;
    // The one record buffer, for writing and for reading back.
    results::HitRecord Record;
    results::SortState Sort;
};

} // namespace game
