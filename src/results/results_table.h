#pragma once
// The sort rule of the results list: which way a header click sorts and how two rows compare.
// The list itself belongs to the window; the game shows the records through the view.

#include <QString>

namespace results {

// The remembered header click: the last clicked column and the direction of the last sort.
struct SortState
{
    int SortColumn = 0;
    bool SortAscending = false;
};

// A header click: a click on the column that was clicked last flips SortAscending, a click on
// another column resets it to false (longest first); the column is remembered. Every column
// sorts by the time caption.
void ColumnClicked(SortState& state, int column);

// The order of two rows from their captions (the time texts): the digits '0' … '9' of each
// caption joined ("1:28:92" → 12892) and read as a decimal number, a caption without digits
// counting as 0. The numbers are compared as digit strings (leading zeros dropped, then the
// longer string is the larger, equal lengths compare digit by digit), so a digit run of any
// length is ordered exactly and nothing can overflow. Ascending: the sign of d1 − d2 (shortest
// first); otherwise the sign of d2 − d1. Returns −1, 0 or 1.
int ListView1Compare(const SortState& state, const QString& caption1, const QString& caption2);

} // namespace results
