#include "game/pause.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(BlockingPause, SleepsInsteadOfSpinning)
{
    static_assert(game::kWrongPairPause == 10 * game::kShutterStepPause);
    // CPU time stays far below the wall time of the pause.
    const std::clock_t cpuBefore = std::clock();
    const auto wallBefore = std::chrono::steady_clock::now();
    game::BlockingPause(std::chrono::milliseconds(40));
    const auto wall = std::chrono::steady_clock::now() - wallBefore;
    const double cpuMs = 1000.0 * double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_GE(wall, std::chrono::milliseconds(40));
    EXPECT_LT(cpuMs, 20.0);
}
