#pragma once

#include "game/view.h"
#include "results/hit_record.h"
#include "results/hits_file.h"

#include <QString>

namespace results {

// The remembered header click: the last clicked column and the direction of the last sort.
struct SortState
{
    int SortColumn = 0;
    bool SortAscending = false;
};

// Fills the results list: ClearResultRows, read all records (HitsFile::ReadAll into `buffer`),
// AddResultRow(time, name, date) for each in file order, then ShowPage(2). The rows are left
// unsorted whatever the last sort was. A file error (EInOutError) ends the fill where it
// happened: the rows added so far stay and the page is not changed.
void FillResultsTable(game::GameView& view, HitsFile& file, HitRecord& buffer);

// Header click: a click on the column that was clicked last flips SortAscending, a click on
// another column resets it to false (longest first); the column is remembered, then
// SortResultRows. Every column sorts by the time caption.
void ListView1ColumnClick(game::GameView& view, SortState& state, int column);

// The order of two rows from their captions (the time texts): the digits '0' … '9' of each
// caption joined ("1:28:92" → 12892) and read as a decimal number, a caption without digits
// counting as 0. The numbers are compared as digit strings (leading zeros dropped, then the
// longer string is the larger, equal lengths compare digit by digit), so a digit run of any
// length is ordered exactly and nothing can overflow. Ascending: the sign of d1 − d2 (shortest
// first); otherwise the sign of d2 − d1. Returns −1, 0 or 1.
int ListView1Compare(const SortState& state, const QString& caption1, const QString& caption2);

} // namespace results
