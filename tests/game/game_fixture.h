#pragma once

#include "game/game.h"
#include "support/recording_view.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

// A game over a recording view whose pauses are only recorded, with hits.dat in a fresh folder.
class GameFixture : public ::testing::Test
{
protected:
    RecordingView view;
    std::vector<std::chrono::milliseconds> pauses;
    game::Game game { view, [this](std::chrono::milliseconds ms) {
                         pauses.push_back(ms);
                         view.calls << QStringLiteral("Pause(%1)").arg(ms.count());
                     } };
    QTemporaryDir dir;
    game::GameState& s = game.state();

    GameFixture()
    {
        game.setHitsFilePath(dir.filePath(QStringLiteral("hits.dat")));
        view.compare
            = [this](const QString& a, const QString& b) { return game.ListView1Compare(a, b); };
    }

    // A dealt board and a running game, as after start-up and "Старт".
    void startGame(std::uint32_t seed = 42)
    {
        game.FormCreate();
        s.RandSeed = seed;
        game.Deal();
        game.BitBtn1Click();
        view.take();
    }

    // Positions of the two cards carrying picture v.
    std::pair<int, int> pairOf(int v) const
    {
        int first = 0;
        for (int p = 1; p <= game::kCardCount; ++p) {
            if (s.CardValue[p] == v) {
                if (first == 0)
                    first = p;
                else
                    return { first, p };
            }
        }
        return { 0, 0 };
    }

    void click(int position) { game.Image1Click(game::CardAtPosition(position)); }
};
