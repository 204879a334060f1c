#include "game/pause.h"

#include <thread>

namespace game {

void BlockingPause(std::chrono::milliseconds length)
{
    // sleep_until against the monotonic clock: no drift from early wake-ups, no busy loop.
    const auto end = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_until(end);
}

} // namespace game
