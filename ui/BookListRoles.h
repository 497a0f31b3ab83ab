// The data the cells of the main window's book list keep beside their text.
#pragma once

#include "engine/text/EncodingJudgement.h"

#include <QTableWidgetItem>

namespace folivane::ui {

// The size cell keeps its number beside its text, so sorting never parses the text.
constexpr int kSizeRole = Qt::UserRole;
// The ID cell keeps a key that names the row for good, whatever sorting and moving do.
constexpr int kKeyRole = Qt::UserRole + 1;
// The encoding cell: the user's choice ("" for Automatic), the detected encoding, and
// what decided it (an engine::EncodingBasis).
constexpr int kChosenRole = Qt::UserRole + 2;
constexpr int kGuessRole = Qt::UserRole + 3;
constexpr int kBasisRole = Qt::UserRole + 4;
// Why the file could not be read when its encoding was judged.
constexpr int kProblemRole = Qt::UserRole + 5;
// The book's code page the guess was made with.
constexpr int kBookPageRole = Qt::UserRole + 6;

// Whether the encoding cell's file is read by its byte-order mark.
inline bool Marked(const QTableWidgetItem& cell) {
    return cell.data(kGuessRole).isValid() &&
           cell.data(kBasisRole).toInt() == static_cast<int>(engine::EncodingBasis::Mark);
}

} // namespace folivane::ui
