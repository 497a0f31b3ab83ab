// Natural and numeric orderings for sorting the book list.
#include "NaturalOrder.h"

namespace folivane::ui {

namespace {

int Sign(qsizetype v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Length of the run of digits starting at `from`.
qsizetype DigitRun(QStringView s, qsizetype from) {
    qsizetype end = from;
    while (end < s.size() && s[end].isDigit())
        ++end;
    return end - from;
}

// Compares two digit runs by value without converting them, so runs of any length work.
// Sets `zerosA`/`zerosB` to the leading zeros of each run, for the final tie-break.
int CompareDigitRuns(QStringView a, QStringView b, qsizetype& zerosA, qsizetype& zerosB) {
    zerosA = 0;
    while (zerosA + 1 < a.size() && a[zerosA].digitValue() == 0)
        ++zerosA;
    zerosB = 0;
    while (zerosB + 1 < b.size() && b[zerosB].digitValue() == 0)
        ++zerosB;
    const QStringView va = a.mid(zerosA);
    const QStringView vb = b.mid(zerosB);
    if (va.size() != vb.size()) return Sign(va.size() - vb.size());
    for (qsizetype i = 0; i < va.size(); ++i) {
        const int d = va[i].digitValue() - vb[i].digitValue();
        if (d != 0) return d < 0 ? -1 : 1;
    }
    return 0;
}

} // namespace

int NaturalCompare(QStringView a, QStringView b) {
    qsizetype i = 0;
    qsizetype j = 0;
    int zerosTieBreak = 0;
    while (i < a.size() && j < b.size()) {
        const qsizetype runA = DigitRun(a, i);
        const qsizetype runB = DigitRun(b, j);
        if (runA > 0 && runB > 0) {
            qsizetype zerosA = 0;
            qsizetype zerosB = 0;
            const int byValue = CompareDigitRuns(a.mid(i, runA), b.mid(j, runB), zerosA, zerosB);
            if (byValue != 0) return byValue;
            if (zerosTieBreak == 0) zerosTieBreak = Sign(zerosA - zerosB);
            i += runA;
            j += runB;
            continue;
        }
        const char32_t ca = a[i].toCaseFolded().unicode();
        const char32_t cb = b[j].toCaseFolded().unicode();
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    if (zerosTieBreak != 0) return zerosTieBreak;
    return Sign(a.compare(b, Qt::CaseSensitive));
}

int CompareNumbers(double a, double b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace folivane::ui
