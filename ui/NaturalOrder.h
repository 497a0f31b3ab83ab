// Orderings for the book list's columns: natural order for names, numeric for numbers.
#pragma once

#include <QStringView>

namespace folivane::ui {

// Compares two texts as a person reads them: runs of digits compare by their value (so
// "chapter2" comes before "chapter10"), other characters by their case-folded code points.
// Texts that differ only in letter case or leading zeros are told apart at the end (fewer
// leading zeros first, then code points), so the order is total and repeatable. Returns a
// negative number, zero or a positive number.
int NaturalCompare(QStringView a, QStringView b);

// Three-way comparison of two numbers: -1, 0 or 1.
int CompareNumbers(double a, double b);

} // namespace folivane::ui
