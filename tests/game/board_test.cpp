#include "game_fixture.h"

#include <algorithm>

using game::Control;
using game::Game;

TEST(Random, FollowsTheGeneratorFormula)
{
    // Worked out by hand: seed' = seed × 134775813 + 1 mod 2^32, draw = (seed' × range) >> 32.
    std::uint32_t seed = 0x12345678;
    EXPECT_EQ(Game::Random(seed, 11), 8);
    EXPECT_EQ(seed, 0xcb5b9059u);
    EXPECT_EQ(Game::Random(seed, 11), 5);
    EXPECT_EQ(seed, 0x79ffb5beu);
    EXPECT_EQ(Game::Random(seed, 11), 9);
    EXPECT_EQ(Game::Random(seed, 11), 10);
    EXPECT_EQ(seed, 0xf25cf394u);

    // From 0 the first two states are 1 and 134775814: both draw 0 out of 11.
    seed = 0;
    EXPECT_EQ(Game::Random(seed, 11), 0);
    EXPECT_EQ(seed, 1u);
    EXPECT_EQ(Game::Random(seed, 11), 0);
    EXPECT_EQ(seed, 134775814u);

    // The largest state draws range − 1, never range.
    seed = 0x4d60ae66u; // (0xFFFFFFFE × 134775813⁻¹) mod 2^32: the next state is 0xFFFFFFFF
    std::uint32_t probe = seed;
    Game::Random(probe, 1);
    ASSERT_EQ(probe, 0xFFFFFFFFu);
    EXPECT_EQ(Game::Random(seed, 11), 10);
}

class Deal : public GameFixture
{ };

TEST_F(Deal, FixedSeedGivesTheWorkedOutBoardAndConsumesRejectedDraws)
{
    s.RandSeed = 42;
    game.Deal();
    const std::array<int, 20> expected { 3, 9, 2, 1, 9, 8, 6, 10, 6, 5, 4, 5, 4, 2, 1, 8, 7, 3, 7,
        10 };
    for (int p = 1; p <= 20; ++p)
        EXPECT_EQ(s.CardValue[p], expected[p - 1]) << "position " << p;
    // 39 draws in all: zeros and third copies consumed steps without filling a position.
    std::uint32_t seed = 42;
    for (int i = 0; i < 39; ++i)
        Game::Random(seed, 11);
    EXPECT_EQ(s.RandSeed, seed);
    EXPECT_EQ(s.RandSeed, 0xef22ff0du);

    s.RandSeed = 0;
    game.Deal();
    const std::array<int, 20> fromZero { 9, 2, 3, 7, 3, 1, 4, 4, 5, 9, 10, 8, 7, 1, 5, 2, 8, 10, 6,
        6 };
    for (int p = 1; p <= 20; ++p)
        EXPECT_EQ(s.CardValue[p], fromZero[p - 1]) << "position " << p;
    EXPECT_EQ(s.RandSeed, 0x8eb8d4afu);
}

TEST_F(Deal, EverySeedGivesTenPairsFaceDown)
{
    // On screen every card shows the back, tagged with its position; the shutter strip carries
    // the back too. Image17, the page's background, is no card: position 17 is Image18.
    game.Deal();
    for (int p = 1; p <= 20; ++p) {
        EXPECT_EQ(view.shows(game::CardAtPosition(p)), 0) << "position " << p;
        EXPECT_EQ(view.tags[RecordingView::at(game::CardAtPosition(p))], p);
    }
    EXPECT_EQ(view.picture[RecordingView::at(Control::Image22)], 0);
    EXPECT_EQ(view.picture[RecordingView::at(Control::Image17)], -1);
    EXPECT_EQ(view.tags[RecordingView::at(Control::Image18)], 17);

    for (std::uint32_t seed : { 1u, 7u, 0xdeadbeefu, 0xffffffffu, 123456789u }) {
        s.RandSeed = seed;
        game.Deal();
        std::array<int, 11> count {};
        for (int p = 1; p <= 20; ++p) {
            ASSERT_GE(s.CardValue[p], 1);
            ASSERT_LE(s.CardValue[p], 10);
            ++count[s.CardValue[p]];
        }
        for (int v = 1; v <= 10; ++v)
            EXPECT_EQ(count[v], 2) << "picture " << v << " seed " << seed;
    }
}

TEST_F(Deal, LeavesSelectionCountersClockAndEnabledCardsAlone)
{
    startGame();
    click(1);
    s.PairsFound = 3;
    s.ClockSeconds = 12;
    const auto enabled = view.enabled;
    const auto texts = view.texts;
    game.Deal();
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(s.FirstCardName, "Image1");
    EXPECT_EQ(s.PairsFound, 3);
    EXPECT_EQ(s.ClockSeconds, 12);
    EXPECT_FALSE(view.enabled[RecordingView::at(Control::Image1)]);
    EXPECT_EQ(view.enabled, enabled);
    EXPECT_EQ(view.texts, texts);
}

TEST_F(Deal, EnableAllCardsTouchesTheTwentyCardsOnly)
{
    view.enabled.fill(false);
    game.EnableAllCards();
    for (int p = 1; p <= 20; ++p)
        EXPECT_TRUE(view.enabled[RecordingView::at(game::CardAtPosition(p))]) << "position " << p;
    EXPECT_EQ(std::count(view.enabled.begin(), view.enabled.end(), true), 20);
}
