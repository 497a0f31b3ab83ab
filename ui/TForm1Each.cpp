// The main window's "One book per file": a folder asked for, the books made several at once,
// "12 of 40" with the titles being made, and a result that names the books not made.
#include "TForm1.h"

#include "Dialogs.h"
#include "FailureReasons.h"
#include "TBatchWorker.h"
#include "TForm3.h"

#include "engine/job/BatchSources.h"
#include "engine/text/ConversionError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>

#include <algorithm>
#include <thread>

namespace folivane::ui {
namespace {

// The book's title as its file names it.
QString TitleOf(const engine::BookInput& book) {
    return QFileInfo(QFile::decodeName(book.outputPath.c_str())).completeBaseName();
}

} // namespace

void TForm1::ConvertEach() {
    const QString folder = dialogs_.OpenFolder(this, tr("Folder for the books"), bookFolder_);
    if (folder.isEmpty()) return;
    bookFolder_ = folder;
    const engine::BookInput options = MakeBookInput(folder);
    std::vector<std::string> sources = options.sources;
    std::vector<std::string> paths;
    try {
        paths = engine::BatchBookPaths(sources, options, options.outputPath);
    } catch (...) {
        Say(QMessageBox::NoIcon,
            tr("Convert Unsuccessful!") + QLatin1Char('\n') +
                TranslatedFailure(engine::CaughtFailure()),
            QMessageBox::Ok);
        return;
    }
    std::vector<engine::BookInput> books;
    QStringList existing;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        engine::BookInput book = options;
        book.sources = {sources[i]};
        book.sourceEncodings = {options.sourceEncodings.at(i)};
        book.outputPath = paths[i];
        if (QFileInfo::exists(QFile::decodeName(paths[i].c_str())))
            existing << QFile::decodeName(paths[i].c_str());
        books.push_back(std::move(book));
    }
    if (!existing.isEmpty() && Say(QMessageBox::Question,
                                   tr("%n book(s) in \"%1\" already exist. Replace them?", nullptr,
                                      static_cast<int>(existing.size()))
                                       .arg(QDir::toNativeSeparators(folder)),
                                   QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;

    batchBooks_ = books;
    batchCurrent_.clear();
    batchEnded_ = 0;
    batchMade_ = 0;
    batchFailures_.clear();
    batchFolder_ = folder;
    cancelPressed_ = false;
    closeWhenStopped_ = false;
    EnsureProgressDialog();
    batch_ = new TBatchWorker(std::move(books), std::max(1u, std::thread::hardware_concurrency()),
                              tempFolderPath_, this);
    connect(batch_, &TBatchWorker::bookStarted, this, &TForm1::OnBookStarted, Qt::QueuedConnection);
    connect(batch_, &TBatchWorker::bookFinished, this, &TForm1::OnBookFinished,
            Qt::QueuedConnection);
    connect(batch_, &QThread::finished, this, &TForm1::OnBatchEnded, Qt::QueuedConnection);
    connect(batch_, &QThread::finished, batch_, &QObject::deleteLater);
    ShowBatchProgress();
    OnShowFormMessage();
    batch_->start();
}

void TForm1::OnBookStarted(int index) {
    batchCurrent_.insert(index, TitleOf(batchBooks_.at(static_cast<std::size_t>(index))));
    ShowBatchProgress();
}

void TForm1::OnBookFinished(int index, int outcome, const std::optional<engine::Failure>& failure) {
    batchCurrent_.remove(index);
    ++batchEnded_;
    const engine::BookInput& book = batchBooks_.at(static_cast<std::size_t>(index));
    if (outcome == static_cast<int>(engine::BatchOutcome::Made)) ++batchMade_;
    if (outcome == static_cast<int>(engine::BatchOutcome::Failed))
        batchFailures_ << QFileInfo(QFile::decodeName(book.sources.front().c_str())).fileName() +
                              QStringLiteral(": ") +
                              (failure ? TranslatedFailure(*failure) : QString());
    ShowBatchProgress();
}

void TForm1::ShowBatchProgress() {
    if (Form3)
        Form3->BatchProgress(batchEnded_, static_cast<int>(batchBooks_.size()),
                             batchCurrent_.values());
}

void TForm1::OnBatchEnded() {
    OnCloseRequest();
    const int total = static_cast<int>(batchBooks_.size());
    const int code = batchMade_ == total ? 0 : 1;
    if (terminatingSignal_ != 0) {
        emit terminated(128 + terminatingSignal_);
        return;
    }
    if (closeWhenStopped_) {
        emit conversionFinished(code);
        close();
        return;
    }
    QString text = tr("%1 of %2 books made in \"%3\".")
                       .arg(batchMade_)
                       .arg(total)
                       .arg(QDir::toNativeSeparators(batchFolder_));
    if (cancelPressed_) text = tr("Cancelled") + QLatin1Char('\n') + text;
    if (!batchFailures_.isEmpty())
        text += QLatin1Char('\n') + tr("Not made:") + QLatin1Char('\n') +
                batchFailures_.join(QLatin1Char('\n'));
    if (batchMade_ > 0) {
        const int action = dialogs_.MessageWithActions(
            this, code == 0 ? QMessageBox::Information : QMessageBox::Warning,
            tr("Quorvel Folivane Converter"), text, {tr("Show in Folder")});
        if (action == 0) OpenWithDesktop(batchFolder_, true);
    } else {
        Say(QMessageBox::Warning, text, QMessageBox::Ok);
    }
    emit conversionFinished(code);
}

} // namespace folivane::ui
