#include "scenes.h"

#include <stdexcept>

namespace artgen {

namespace {

std::vector<int> repeat(int count, int delay)
{
    return std::vector<int>(std::size_t(count), delay);
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

const std::vector<int>& animationDelays(int n)
{
    static const std::vector<std::vector<int>> table = {
        repeat(31, 8),
        repeat(44, 8),
        { 16, 136, 16, 144, 24, 24, 120 },
        { 16, 8, 8, 8, 24, 24, 8, 8, 72, 136, 24, 88, 48, 48, 48, 8, 104, 24 },
        { 8, 56, 8, 8, 24, 88, 8, 56, 8, 8, 8, 16, 32, 8, 8, 8, 8, 8, 8, 112, 8 },
        join(repeat(10, 8), { 56, 8, 24, 8, 24, 40, 32, 40, 48 }),
        { 40, 16, 16, 24, 48, 16, 56, 136 },
        repeat(49, 8),
        join(repeat(32, 8), { 96 }),
        { 40, 152, 80, 160, 8, 224, 152 },
    };
    if (n < 1 || n > 10)
        throw std::out_of_range("no animation " + std::to_string(n));
    return table[std::size_t(n - 1)];
}

void drawScene(int n, QPainter& p, const SceneClock& clock)
{
    using Scene = void (*)(QPainter&, const SceneClock&);
    static const Scene scenes[] = { sceneTelephones, sceneSleeper, sceneMoney, sceneFeetUp,
        sceneEasel, scenePresentation, scenePainter, sceneRestaurant, sceneEmptyOffice, sceneBoss };
    scenes[n - 1](p, clock);
}

} // namespace artgen
