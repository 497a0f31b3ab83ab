// The book list of the main window: adding, dropping, deleting, moving and sorting rows.
#include "TForm1.h"

#include "BookListRoles.h"
#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "FailureReasons.h"
#include "Icons.h"
#include "NaturalOrder.h"
#include "engine/epub/BookMetadata.h"
#include "engine/epub/Cover.h"
#include "engine/text/ConversionError.h"
#include "engine/text/SourceFiles.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeData>
#include <QTableWidget>
#include <QUrl>

#include <algorithm>
#include <array>
#include <new>
#include <numeric>
#include <vector>

namespace folivane::ui {

namespace {

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// KB below a megabyte, MB from there, one decimal in the user's way of writing numbers:
// 1536 bytes -> "1.5 KB", 3 MiB -> "3.0 MB".
QString SizeText(double kb) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    // Sizes that would round to "1024.0 KB" are written in MB.
    if (kb < 1024 - 0.05) return locale.toString(kb, 'f', 1) + QStringLiteral(" KB");
    return locale.toString(kb / 1024, 'f', 1) + QStringLiteral(" MB");
}

} // namespace

bool TForm1::AddTxtFile(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || name.mid(dot).compare(QStringLiteral(".txt"), Qt::CaseInsensitive) != 0)
        return false;
    // A folder named like a text file would only fail later, in the conversion.
    if (info.isDir()) return false;

    const int row = m_list->rowCount();
    m_list->insertRow(row);
    QTableWidgetItem* id = Cell(QString::number(row + 1));
    id->setIcon(LoadIcon("text16"));
    m_list->setItem(row, kId, id);
    m_list->setItem(row, kFileName, Cell(name.left(dot)));
    const double kb = engine::GetFileSizeKB(QFile::encodeName(path).toStdString());
    QTableWidgetItem* size = Cell(SizeText(kb));
    size->setData(kSizeRole, kb);
    m_list->setItem(row, kSize, size);
    // Judged on another thread: a thousand dropped files must not stop the window.
    QTableWidgetItem* encoding = Cell(QString());
    encoding->setData(kChosenRole, QString());
    ShowEncoding(*encoding);
    m_list->setItem(row, kEncoding, encoding);
    m_list->setItem(row, kPath, Cell(path));
    id->setData(kKeyRole, nextRowKey_++);
    QueueGuess(row, BookPage());
    return true;
}

void TForm1::BitBtn1Click() {
    const QStringList files = dialogs_.OpenFiles(
        this, tr("Add Text Files"), {{QStringLiteral("*.txt"), {"txt"}}}, sourceFolder_);
    if (!files.isEmpty()) sourceFolder_ = FolderOf(files.constFirst());
    QStringList refused;
    for (const QString& file : files)
        if (!AddTxtFile(file)) refused << file;
    // The user picked these on purpose; say why they are missing from the list.
    if (!refused.isEmpty())
        Say(QMessageBox::Information,
            tr("Only text files (.txt) can be added. Not added:") + QLatin1Char('\n') +
                refused.join(QLatin1Char('\n')),
            QMessageBox::Ok);
}

void TForm1::ApplicationEvents1Message(const QMimeData& drop) {
    for (const QUrl& url : drop.urls())
        if (url.isLocalFile()) AddTxtFile(url.toLocalFile());
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    ApplicationEvents1Message(*event->mimeData());
    event->acceptProposedAction();
}

int TForm1::SelectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = m_list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.constFirst().topRow();
}

void TForm1::SelectRow(int row) {
    if (row < 0 || row >= m_list->rowCount()) {
        m_list->clearSelection();
        return;
    }
    m_list->setCurrentCell(row, kId);
    m_list->selectRow(row);
}

int TForm1::IdOf(int row) const {
    return m_list->item(row, kId)->text().toInt();
}

void TForm1::m_delClick() {
    const int i = SelectedRow();
    if (i < 0) {
        Say(QMessageBox::Information, tr("Choose file first please!"), QMessageBox::Ok);
        return;
    }
    const int d = IdOf(i);
    m_list->removeRow(i);
    const int n = m_list->rowCount();
    SelectRow(i == n ? n - 1 : i);
    // IDs stay 1..n: every ID above the removed one moves down by one.
    for (int row = 0; row < n; ++row) {
        const int id = IdOf(row);
        if (id > d) m_list->item(row, kId)->setText(QString::number(id - 1));
    }
    if (!guessing_.isRunning()) JudgeAgainWithTheBook();
}

void TForm1::DeleteKeyPressed() {
    // The key acts on a chosen row; with none there is nothing to say.
    if (SelectedRow() >= 0) m_delClick();
}

void TForm1::m_delallClick() {
    if (Say(QMessageBox::Question, tr("Are you sure you want to empty all files?"),
            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        m_list->setRowCount(0);
}

void TForm1::m_upClick() {
    const int s = SelectedRow();
    if (s < 0) return;
    const int target = s == 0 ? m_list->rowCount() - 1 : s - 1;
    SwapRows(target, s);
    SelectRow(target);
}

void TForm1::m_downClick() {
    const int s = SelectedRow();
    if (s < 0) return;
    const int target = s == m_list->rowCount() - 1 ? 0 : s + 1;
    SwapRows(target, s);
    SelectRow(target);
}

void TForm1::SwapRows(int a, int b) {
    if (a == b) return;
    for (int c = 0; c < kColumns; ++c) {
        QTableWidgetItem* itemA = m_list->takeItem(a, c);
        QTableWidgetItem* itemB = m_list->takeItem(b, c);
        m_list->setItem(a, c, itemB);
        m_list->setItem(b, c, itemA);
    }
    SchedulePreview(); // the order of the files is the order of the book
}

void TForm1::m_listColumnClick(int column) {
    sortColumn_ = column;
    sortDirection_ = column == lastClickedColumn_ ? 1 - sortDirection_ : 0;
    m_list->horizontalHeaderItem(column)->setIcon(
        LoadIcon(sortDirection_ == 0 ? "up16" : "down16"));
    lastClickedColumn_ = column;

    // Sort once: rows added later go to the end, as before.
    const int n = m_list->rowCount();
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return m_listCompare(a, b) < 0; });
    const int selected = SelectedRow();
    std::vector<std::array<QTableWidgetItem*, kColumns>> rows(order.size());
    for (int row = 0; row < n; ++row)
        for (int c = 0; c < kColumns; ++c)
            rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)] =
                m_list->takeItem(row, c);
    int newSelected = -1;
    for (int row = 0; row < n; ++row) {
        const int from = order[static_cast<std::size_t>(row)];
        if (from == selected) newSelected = row;
        for (int c = 0; c < kColumns; ++c)
            m_list->setItem(row, c,
                            rows[static_cast<std::size_t>(from)][static_cast<std::size_t>(c)]);
    }
    SelectRow(newSelected);
    SchedulePreview();
}

int TForm1::m_listCompare(int rowA, int rowB) const {
    int result = 0;
    switch (sortColumn_) {
    case kId:
        result = CompareNumbers(IdOf(rowA), IdOf(rowB));
        break;
    case kSize:
        result = CompareNumbers(m_list->item(rowA, kSize)->data(kSizeRole).toDouble(),
                                m_list->item(rowB, kSize)->data(kSizeRole).toDouble());
        break;
    default:
        result = NaturalCompare(m_list->item(rowA, sortColumn_)->text(),
                                m_list->item(rowB, sortColumn_)->text());
    }
    return sortDirection_ == 1 ? -result : result;
}

void TForm1::CoverPathEditButtonClick() {
    const QString picture = dialogs_.OpenFile(this, QString(),
                                              {{tr("Picture Files(*.jpg;*.jpeg;*.png;*.bmp;*.gif)"),
                                                {"jpg", "jpeg", "png", "bmp", "gif"}}});
    if (picture.isEmpty()) return;
    // Refused now, with the engine's own reason, rather than after the book's path is chosen.
    try {
        engine::LoadCover(QFile::encodeName(picture).toStdString());
    } catch (const std::bad_alloc&) {
        Say(QMessageBox::Warning, tr("Not enough memory to read the picture."), QMessageBox::Ok);
        return;
    } catch (...) {
        Say(QMessageBox::Warning, TranslatedFailure(engine::CaughtFailure()), QMessageBox::Ok);
        return;
    }
    CoverPath->setText(picture);
}

QString TForm1::FolderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace folivane::ui
