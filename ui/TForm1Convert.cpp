// The conversion front end: the save dialog, the worker, the progress dialog, the result.
#include "TForm1.h"

#include "BookFileName.h"
#include "Dialogs.h"
#include "EllipsisEdit.h"
#include "FailureReasons.h"
#include "SuggestedField.h"
#include "TAppearanceDialog.h"
#include "TBatchWorker.h"
#include "TDetailsDialog.h"
#include "TForm3.h"
#include "TLongWaitTrd.h"
#include "engine/chapters/TextSections.h"
#include "engine/epub/BookMetadata.h"
#include "engine/job/OutputCheck.h"
#include "engine/job/WorkingTree.h"
#include "engine/text/LanguageTag.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QUrl>

namespace folivane::ui {

void TForm1::SpeedButton1Click() {
    // One job at a time: a second press before the dialog is up must not start another.
    if (ConversionRunning() || m_list->rowCount() == 0) return;
    // A language the book cannot carry is said before anything is asked.
    const QString language = m_language->text().trimmed();
    if (!language.isEmpty() && !engine::NormalizeLanguageTag(language.toStdString())) {
        Say(QMessageBox::Warning,
            TranslatedFailure(engine::LanguageTagProblem(language.toStdString())), QMessageBox::Ok);
        m_language->setFocus();
        return;
    }
    if (const QString problem = details_->Problem(); !problem.isEmpty()) {
        Say(QMessageBox::Warning, problem, QMessageBox::Ok);
        details_->open();
        details_->ProblemField()->setFocus();
        return;
    }
    if (const QString problem = PatternProblem(); !problem.isEmpty()) {
        Say(QMessageBox::Warning, problem, QMessageBox::Ok);
        m_pattern->setFocus();
        return;
    }
    if (m_eachFile->isChecked()) return ConvertEach();
    // The book's file is named after its title, as the job trims it: the one typed, or the
    // plan's suggestion; while the plan of a new first file is still being worked out, the
    // one its header or name gives.
    QString title = QString::fromStdString(engine::MetadataText(m_title->text().toStdString()));
    if (title.isEmpty()) {
        const QString first = m_list->item(0, kPath)->text();
        title = QString::fromStdString(engine::MetadataText(
            engine::TitleAndAuthorOfSource(QFile::encodeName(first).toStdString(), std::string())
                .title));
    }
    const QString output = dialogs_.SaveFile(
        this, BookFileName(title, QLatin1String(engine::kDefaultBookName)),
        {{QStringLiteral("*.epub"), {"epub"}}, {QStringLiteral("*.zip"), {"zip"}}}, bookFolder_);
    if (output.isEmpty()) return;
    bookFolder_ = FolderOf(output);

    engine::BookInput input = MakeBookInput(output);
    if (!MayWriteBook(input, output)) return;
    engine::WorkingTree tree = engine::PrepareWorkingTree(tempFolderPath_);
    EnsureProgressDialog();
    outputPath_ = output;
    outputExisted_ = QFileInfo::exists(output);
    cancelPressed_ = false;
    closeWhenStopped_ = false;

    worker_ = new TLongWaitTrd(std::move(input), std::move(tree), jobWrapper_, this);
    // Queued, all to this window, so they run here in the order the job sent them.
    connect(worker_, &TLongWaitTrd::showProgress, this, &TForm1::OnShowFormMessage,
            Qt::QueuedConnection);
    connect(worker_, &TLongWaitTrd::progress, this, &TForm1::OnProgress, Qt::QueuedConnection);
    connect(worker_, &TLongWaitTrd::chapterReport, this, &TForm1::OnChapterReport,
            Qt::QueuedConnection);
    connect(worker_, &TLongWaitTrd::closeRequest, this, &TForm1::OnCloseRequest,
            Qt::QueuedConnection);
    connect(worker_, &TLongWaitTrd::result, this, &TForm1::OnShowResultMsg, Qt::QueuedConnection);
    connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
    emit conversionStarting(worker_);
    worker_->start();
    if (!worker_->isRunning() && !worker_->isFinished()) {
        // The system would not start another thread; the job's folder goes with its worker.
        delete worker_;
        Say(QMessageBox::NoIcon,
            tr("Convert Unsuccessful!") + QLatin1Char('\n') +
                tr("The conversion cannot start: the system refused to start a thread for it. "
                   "Close some programs and try again."),
            QMessageBox::Ok);
    }
}

bool TForm1::MayWriteBook(const engine::BookInput& input, const QString& output) {
    // Nothing starts for a book that would replace one of its own sources; the user is not
    // asked first whether to replace a file that would then be refused.
    if (const std::optional<engine::Failure> problem = engine::OutputProblem(input)) {
        Say(QMessageBox::Warning, TranslatedFailure(*problem), QMessageBox::Ok);
        return false;
    }
    if (!QFileInfo::exists(output)) return true;
    return Say(QMessageBox::Question,
               tr("\"%1\" already exists. Replace it?").arg(QDir::toNativeSeparators(output)),
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TForm1::TerminateForSignal(int signal) {
    if (terminatingSignal_ != 0) return;
    terminatingSignal_ = signal;
    if (ConversionRunning())
        RequestCancel(); // its result, when it comes, ends the program
    else
        emit terminated(128 + signal);
}

engine::BookInput TForm1::MakeBookInput(const QString& outputPath) const {
    // Paths go to the engine in the file system's encoding, texts as UTF-8.
    engine::BookInput input;
    for (int row = 0; row < m_list->rowCount(); ++row)
        input.sources.push_back(QFile::encodeName(m_list->item(row, kPath)->text()).toStdString());
    // A suggestion is what the book decides anyway: left to it, the book and the preview
    // agree even when the suggestion is not up to date yet.
    input.title = titleField_->UserText().toStdString();
    input.author = authorField_->UserText().toStdString();
    input.publisher = m_cbs->text().toStdString();
    input.coverPath = QFile::encodeName(CoverPath->text()).toStdString();
    input.outputPath = QFile::encodeName(outputPath).toStdString();
    input.chapters =
        m_chapters->isChecked() ? engine::ChapterMode::Auto : engine::ChapterMode::Files;
    if (m_chapters->isChecked()) input.chapterPattern = m_pattern->text().toStdString();
    if (const auto tag = engine::NormalizeLanguageTag(m_language->text().trimmed().toStdString()))
        input.language = *tag;
    input.epubVersion = static_cast<engine::EpubVersion>(m_epubVersion->currentData().toInt());
    input.paragraphs = static_cast<engine::ParagraphChoice>(m_paragraphs->currentData().toInt());
    input.vertical = m_vertical->isEnabled() && m_vertical->isChecked();
    input.chineseScript =
        static_cast<engine::ChineseScript>(m_chineseScript->currentData().toInt());
    appearance_->ApplyTo(input);
    input.titleCover = m_titleCover->isChecked();
    details_->ApplyTo(input);
    for (int row = 0; row < m_list->rowCount(); ++row)
        input.sourceEncodings.push_back(EncodingOf(row).toStdString());
    return input;
}

void TForm1::EnsureProgressDialog() {
    if (Form3) return;
    auto* dialog = new TForm3(this);
    Form3 = dialog;
    connect(dialog, &TForm3::cancelPressed, this, &TForm1::OnCancelPressed);
    // Once its display ends the dialog goes, so the next job starts from a fresh one.
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (Form3 == dialog) Form3 = nullptr;
        dialog->deleteLater();
    });
}

void TForm1::OnShowFormMessage() {
    EnsureProgressDialog();
    Form3->show(); // modal: the main window takes no input while it shows
    Form3->activateWindow();
    emit progressDialogShown(Form3);
}

void TForm1::OnProgress(int phase, int done) {
    if (Form3) Form3->Progress(static_cast<engine::JobPhase>(phase), done);
}

void TForm1::OnChapterReport(const QString& chapterName) {
    if (Form3) Form3->ChapterReport(chapterName);
}

void TForm1::OnCloseRequest() {
    if (Form3 && Form3->isVisible()) Form3->Finish();
}

void TForm1::OnCancelPressed() {
    if (!ConversionRunning()) return;
    cancelPressed_ = true;
    RequestCancel();
}

void TForm1::RequestCancel() {
    if (worker_) worker_->RequestCancel();
    if (batch_) batch_->RequestCancel();
}

void TForm1::OnShowResultMsg(const std::optional<engine::Failure>& failure) {
    // The result box never shares the screen with the progress dialog.
    OnCloseRequest();
    if (terminatingSignal_ != 0) {
        // The job stopped and cleaned up; nobody is left to read a box.
        if (worker_) worker_->wait();
        emit terminated(128 + terminatingSignal_);
        return;
    }
    if (closeWhenStopped_) {
        // The user closed the window and was asked already; the job has cleaned up.
        if (worker_) worker_->wait();
        emit conversionFinished(failure ? 1 : 0);
        close();
        return;
    }
    if (failure && failure->kind == engine::FailureKind::Cancelled && cancelPressed_) {
        // What the user asked for, not a failure; what was there before is there still.
        const QString kept =
            outputExisted_ ? tr("\"%1\" is as it was.").arg(QDir::toNativeSeparators(outputPath_))
                           : tr("No book was written.");
        Say(QMessageBox::Information, tr("Cancelled") + QLatin1Char('\n') + kept, QMessageBox::Ok);
    } else if (!failure) {
        // Where the book went, on a line of its own under the design's words, and the two
        // things a user does next.
        const int action = dialogs_.MessageWithActions(
            this, QMessageBox::Information, tr("Quorvel Folivane Converter"),
            tr("Convert Succeeded!") + QLatin1Char('\n') + QDir::toNativeSeparators(outputPath_),
            {tr("Open Book"), tr("Show in Folder")});
        if (action == 0) OpenWithDesktop(outputPath_, false);
        if (action == 1) OpenWithDesktop(FolderOf(outputPath_), true);
    } else {
        Say(QMessageBox::NoIcon,
            tr("Convert Unsuccessful!") + QLatin1Char('\n') + TranslatedFailure(*failure),
            QMessageBox::Ok);
    }
    emit conversionFinished(failure ? 1 : 0);
}

void TForm1::OpenWithDesktop(const QString& path, bool folder) {
    if (dialogs_.OpenUrl(QUrl::fromLocalFile(path))) return;
    // The desktop may have no program for books, or no file manager; the path lets the
    // user get there another way.
    const QString native = QDir::toNativeSeparators(path);
    const QString text = folder ? tr("The desktop has no program to show this folder:")
                                : tr("The desktop has no program to open this book:");
    const int action =
        dialogs_.MessageWithActions(this, QMessageBox::Warning, tr("Quorvel Folivane Converter"),
                                    text + QLatin1Char('\n') + native, {tr("Copy Path")});
    if (action == 0) QGuiApplication::clipboard()->setText(native);
}

} // namespace folivane::ui
