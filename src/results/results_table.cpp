#include "results/results_table.h"

namespace results {
namespace {

// The caption's decimal digits in order, without leading zeros ("0:05:07" → "507", none → "").
QString significantDigits(const QString& caption)
{
    QString digits;
    for (const QChar ch : caption) {
        if (ch >= u'0' && ch <= u'9' && !(digits.isEmpty() && ch == u'0'))
            digits.append(ch);
    }
    return digits;
}

// The sign of d1 − d2 for two numbers written without leading zeros.
int compareNumbers(const QString& d1, const QString& d2)
{
    if (d1.size() != d2.size())
        return d1.size() < d2.size() ? -1 : 1;
    const int c = QString::compare(d1, d2); // same length, digits only: ordinal order is numeric
    return (c > 0) - (c < 0);
}

} // namespace

void ColumnClicked(SortState& state, int column)
{
    if (column == state.SortColumn)
        state.SortAscending = !state.SortAscending;
    else
        state.SortAscending = false;
    state.SortColumn = column;
}

int ListView1Compare(const SortState& state, const QString& caption1, const QString& caption2)
{
    const int c = compareNumbers(significantDigits(caption1), significantDigits(caption2));
    return state.SortAscending ? c : -c;
}

} // namespace results
