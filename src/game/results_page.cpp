// The results page: the list filled from hits.dat, and the header clicks that sort it.
#include "game/game.h"

namespace game {

void Game::FillResultsTable()
{
    m_view.ClearResultRows();
    m_hitsFile.ReadAll(m_state.Record, [this](const results::HitRecord& record) {
        m_view.AddResultRow(record.time(), record.name(), record.date());
    });
    m_view.ShowPage(static_cast<int>(Page::Hits));
}

void Game::ListView1ColumnClick(int column)
{
    results::ColumnClicked(m_state.Sort, column);
    m_view.SortResultRows();
}

int Game::ListView1Compare(const QString& caption1, const QString& caption2)
{
    return results::ListView1Compare(m_state.Sort, caption1, caption2);
}

} // namespace game
