// The Encoding column of the main window's book list: files judged off the interface thread,
// short ones again with the code page of the others, and the user's choice of code page.
#include "TForm1.h"

#include "BookListRoles.h"
#include "FailureReasons.h"
#include "engine/text/ConversionError.h"
#include "engine/text/LegacyCodePage.h"
#include "engine/text/SourceText.h"

#include <QActionGroup>
#include <QFile>
#include <QMenu>
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <vector>

namespace folivane::ui {

void TForm1::QueueGuess(int row, const QString& bookPage) {
    m_list->item(row, kEncoding)->setData(kBookPageRole, bookPage);
    pendingGuesses_.append({m_list->item(row, kId)->data(kKeyRole).toInt(),
                            m_list->item(row, kPath)->text(), bookPage, QString(), 0, QString()});
    if (!guessing_.isRunning())
        QMetaObject::invokeMethod(this, &TForm1::GuessPendingEncodings, Qt::QueuedConnection);
}

QStringList TForm1::CommonEncodings() {
    return {QStringLiteral("UTF-8"),   QStringLiteral("UTF-16LE"),   QStringLiteral("UTF-16BE"),
            QStringLiteral("GB18030"), QStringLiteral("BIG5-HKSCS"), QStringLiteral("CP932"),
            QStringLiteral("CP949"),   QStringLiteral("CP1252"),     QStringLiteral("CP1251")};
}

void TForm1::GuessPendingEncodings() {
    if (guessing_.isRunning() || pendingGuesses_.isEmpty()) return;
    QList<EncodingGuess> batch;
    batch.swap(pendingGuesses_);
    // The task owns its list and touches nothing of the window.
    guessing_.setFuture(QtConcurrent::run([batch = std::move(batch)]() mutable {
        for (EncodingGuess& guess : batch) {
            try {
                const std::string bookPage = guess.bookPage.toStdString();
                const engine::EncodingJudgement judged =
                    engine::GuessSourceEncoding(QFile::encodeName(guess.path).toStdString(),
                                                {std::string(), [&bookPage] { return bookPage; }});
                guess.encoding = QString::fromStdString(judged.encoding);
                guess.basis = static_cast<int>(judged.basis);
            } catch (...) {
                guess.encoding.clear(); // unreadable now; the conversion will fail naming it
                guess.problem = TranslatedFailure(engine::CaughtFailure());
            }
        }
        return batch;
    }));
}

int TForm1::RowOfKey(int key) const {
    for (int row = 0; row < m_list->rowCount(); ++row)
        if (m_list->item(row, kId)->data(kKeyRole).toInt() == key) return row;
    return -1;
}

void TForm1::ApplyEncodingGuesses() {
    for (const EncodingGuess& guess : guessing_.result()) {
        const int row = RowOfKey(guess.key);
        if (row < 0) continue; // deleted meanwhile
        QTableWidgetItem* cell = m_list->item(row, kEncoding);
        if (cell->data(kBookPageRole).toString() != guess.bookPage) continue; // queued again
        cell->setData(kGuessRole, guess.encoding);
        cell->setData(kBasisRole, guess.basis);
        cell->setData(kProblemRole, guess.problem);
        if (Marked(*cell)) cell->setData(kChosenRole, QString()); // the mark decides
        ShowEncoding(*cell);
    }
    if (pendingGuesses_.isEmpty()) JudgeAgainWithTheBook();
    if (!pendingGuesses_.isEmpty())
        GuessPendingEncodings();
    else
        emit encodingsKnown();
}

QString TForm1::BookPage() const {
    std::vector<std::string> pages;
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const QTableWidgetItem* cell = m_list->item(row, kEncoding);
        const QString chosen = cell->data(kChosenRole).toString();
        if (!chosen.isEmpty())
            pages.push_back(chosen.toStdString());
        else if (cell->data(kGuessRole).isValid() &&
                 cell->data(kBasisRole).toInt() == static_cast<int>(engine::EncodingBasis::Text))
            pages.push_back(cell->data(kGuessRole).toString().toStdString());
    }
    return QString::fromStdString(engine::BookCodePage(pages));
}

void TForm1::JudgeAgainWithTheBook() {
    const QString bookPage = BookPage();
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const QTableWidgetItem* cell = m_list->item(row, kEncoding);
        if (!cell->data(kGuessRole).isValid() || cell->data(kGuessRole).toString().isEmpty())
            continue; // being judged, or unreadable
        const auto basis = static_cast<engine::EncodingBasis>(cell->data(kBasisRole).toInt());
        if (engine::JudgedWithoutItsText(basis) && cell->data(kBookPageRole).toString() != bookPage)
            QueueGuess(row, bookPage);
    }
}

void TForm1::ChooseEncoding(int row, const QString& encoding) {
    if (row < 0 || row >= m_list->rowCount()) return;
    QTableWidgetItem* cell = m_list->item(row, kEncoding);
    if (Marked(*cell)) return;
    cell->setData(kChosenRole, encoding);
    ShowEncoding(*cell);
    if (!guessing_.isRunning()) JudgeAgainWithTheBook();
}

QString TForm1::BasisText(engine::EncodingBasis basis) {
    const QString alone = tr("The text alone does not tell its code page:") + QLatin1Char('\n');
    switch (basis) {
    case engine::EncodingBasis::Mark:
        return tr("Read by its byte-order mark");
    case engine::EncodingBasis::Book:
        return alone + tr("read as the other files of the book are");
    case engine::EncodingBasis::Locale:
        return alone + tr("read in the code page of your language");
    case engine::EncodingBasis::Guess:
        return alone + tr("a guess; choose the code page if the text is wrong");
    default:
        return tr("Detected from the text");
    }
}

void TForm1::ShowEncoding(QTableWidgetItem& cell) const {
    const QString chosen = cell.data(kChosenRole).toString();
    const QVariant guess = cell.data(kGuessRole); // not yet there while it is being judged
    if (!chosen.isEmpty()) {
        cell.setText(chosen);
        cell.setToolTip(tr("Chosen by you"));
    } else if (!guess.isValid()) {
        cell.setText(QStringLiteral("…"));
        cell.setToolTip(QString());
    } else if (guess.toString().isEmpty()) {
        cell.setText(QStringLiteral("?"));
        cell.setToolTip(tr("The file cannot be read") + QLatin1Char('\n') +
                        cell.data(kProblemRole).toString());
    } else {
        cell.setText(guess.toString());
        cell.setToolTip(
            BasisText(static_cast<engine::EncodingBasis>(cell.data(kBasisRole).toInt())));
    }
}

void TForm1::ShowRowMenu(const QPoint& at) {
    const int row = m_list->rowAt(at.y());
    if (row < 0) return;
    SelectRow(row);
    const QTableWidgetItem* cell = m_list->item(row, kEncoding);
    const QString chosen = cell->data(kChosenRole).toString();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("EncodingMenu"));
    const QString title = tr("Read the file as");
    const bool marked = Marked(*cell);
    // Why the choices are greyed out comes first, where the eye lands.
    const QString markNote =
        tr("Fixed: the file begins with a byte-order mark, which names its encoding");
    menu.addSection(marked ? markNote : title);
    // One code page at a time: the items are radio items.
    auto* choices = new QActionGroup(&menu);
    choices->setExclusive(true);
    for (const QString& encoding : QStringList{QString()} + CommonEncodings()) {
        QAction* action = menu.addAction(encoding.isEmpty() ? tr("Automatic") : encoding);
        choices->addAction(action);
        action->setCheckable(true);
        action->setChecked(encoding == chosen);
        action->setEnabled(!marked);
        action->setData(encoding);
    }
    // A menu is as wide as its items; the section titles, longer in some languages, need
    // room too.
    const QFontMetrics metrics = menu.fontMetrics();
    menu.setMinimumWidth(std::max(metrics.horizontalAdvance(title),
                                  marked ? metrics.horizontalAdvance(markNote) : 0) +
                         3 * metrics.height());
    if (const QAction* picked = menu.exec(m_list->viewport()->mapToGlobal(at)))
        ChooseEncoding(SelectedRow(), picked->data().toString());
}

QString TForm1::EncodingOf(int row) const {
    return m_list->item(row, kEncoding)->data(kChosenRole).toString();
}

} // namespace folivane::ui
