// Board and deal: ten pairs in random order by rejection sampling.
#include "game/game.h"

#include <chrono>

namespace game {

int Game::Random(std::uint32_t& seed, int range)
{
    seed = seed * 134775813u + 1u;
    return static_cast<int>(
        (static_cast<std::uint64_t>(seed) * static_cast<std::uint32_t>(range)) >> 32);
}

std::uint32_t Game::SeedFromClock()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks);
}

void Game::Deal()
{
    for (int position = 1; position <= kCardCount; ++position)
        m_view.SetCardPicture(CardAtPosition(position), 0);
    // The shutter strip carries the back too: the shutter draws with it.
    m_view.SetCardPicture(Control::Image22, 0);
    for (int position = 1; position <= kCardCount; ++position)
        m_view.SetControlTag(CardAtPosition(position), position);
    m_view.RepaintNow(Control::Form1);

    m_state.ValueCount.fill(0);
    int position = 1;
    while (position <= kCardCount) {
        const int value = Random(m_state.RandSeed, 11);
        if (value == 0 || m_state.ValueCount[value] >= 2)
            continue;
        ++m_state.ValueCount[value];
        m_state.CardValue[position] = value;
        ++position;
    }
}

void Game::EnableAllCards()
{
    for (int position = 1; position <= kCardCount; ++position)
        m_view.SetCardEnabled(CardAtPosition(position), true);
}

} // namespace game
