// The main window: the book list, the book information fields and the Convert button.
#pragma once

#include "engine/job/BookInput.h"
#include "engine/job/BookPlan.h"
#include "engine/text/Failure.h"

#include <QFutureWatcher>
#include <QImage>
#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace folivane::ui {

class Dialogs;
class EllipsisEdit;
class TAppearanceDialog;
class TDetailsDialog;
class LinkLabel;
class SuggestedField;
class TForm3;
class TBatchWorker;
class TLongWaitTrd;

// The program's only working window. Everything runs on the user-interface thread; a
// conversion runs on a TLongWaitTrd whose events come back here queued. `dialogs` answers
// every dialog and message box and must outlive the window.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // Appends a row for a text file (".txt" in any letter case); returns false and adds
    // nothing for any other name and for a folder. The row's encoding is judged on another
    // thread and shows when known (encodingsKnown()).
    bool AddTxtFile(const QString& path);
    // The code page the user chose for a row ("" for Automatic); it goes into the job.
    void ChooseEncoding(int row, const QString& encoding);
    // The code pages the row menu offers after "Automatic".
    static QStringList CommonEncodings();
    // Exchanges two rows with all their texts, the ID included.
    void SwapRows(int a, int b);

    bool ConversionRunning() const;
    // Ends the program as a terminating signal (SIGTERM, SIGHUP, SIGINT: the session ends)
    // asks: a running conversion is stopped first and removes what it made; then
    // terminated(128 + signal) is emitted, with no result box.
    void TerminateForSignal(int signal);
    // The progress dialog of the running or next conversion; null between a conversion's
    // end and the next press of Convert.
    TForm3* ProgressDialog() const;
    // Whether the contents preview is being worked out or waits to be.
    bool PreviewPending() const;
    // Called on the preview's worker once it has made a plan, before the window hears of it:
    // tests hold the worker there to change the window meanwhile.
    void SetPlanMadeHook(std::function<void()> hook) { planMadeHook_ = std::move(hook); }
    // The dialog of the book's appearance choices, made with the window and hidden until the
    // Appearance button shows it.
    TAppearanceDialog* AppearanceDialog() const { return appearance_; }
    // The dialog of the book's details (description, series, ISBN ...), shown by More….
    TDetailsDialog* DetailsDialog() const { return details_; }
    // For tests: each conversion's job runs within `around` on its worker's thread, to inject
    // the platform's faults there (they hold per thread).
    void SetJobWrapper(std::function<void(const std::function<void()>& job)> around) {
        jobWrapper_ = std::move(around);
    }

signals:
    // The worker of a conversion is made and about to start: its events may be watched
    // from here on (on its own thread when connected directly).
    void conversionStarting(folivane::ui::TLongWaitTrd* worker);
    // The progress dialog has just been shown, still in its initial state.
    void progressDialogShown(folivane::ui::TForm3* dialog);
    // A conversion ended and its result box was closed; code 0 is success.
    void conversionFinished(int code);
    // Everything is cleaned up after TerminateForSignal: the program may exit with `exitCode`.
    void terminated(int exitCode);
    // Every row's encoding column shows what the file will be read as.
    void encodingsKnown();
    // The contents preview shows the plan of the book as the window now describes it.
    void previewShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The columns of m_list, in display order.
    enum Column { kId = 0, kFileName = 1, kSize = 2, kEncoding = 3, kPath = 4, kColumns = 5 };
    // With the contents preview beside the list the window opens this wide, screens allowing.
    static constexpr QSize kDefaultWindowSize{900, 440};
    // The cover in the preview: 1600 x 2560 scaled to a thumbnail.
    static constexpr QSize kCoverPreviewSize{50, 80};

    // What the engine would read a file as, judged off the interface thread.
    struct EncodingGuess {
        int key; // the row's key (kKeyRole), which survives sorting and moving
        QString path;
        QString bookPage; // the code page of the book's other files when it was queued
        QString encoding; // empty: the file could not be read
        int basis = 0;    // an engine::EncodingBasis
        QString problem;  // why it could not be read
    };

    // The plan of the book worked out off the interface thread for the preview.
    struct PreviewResult {
        int generation = 0;
        QString firstSource; // the path of the list's first row when it was asked for
        engine::BookPlan plan;
        QString problem; // not empty: no plan, and why
        QImage cover;    // the book's cover, small; null for none
    };

    void FormCreate();
    QWidget* CreateTopFrame();
    QWidget* CreateListFrame();
    QWidget* CreateBookFrame();
    QWidget* CreatePreviewFrame();
    void CreateTabOrder();
    void CreateShortcuts();
    // Convert is offered only when there is something to convert.
    void UpdateConvertButton();

    // Persisted choices (TForm1Settings.cpp): each control kept, under its key.
    QList<QPair<QString, QWidget*>> PersistedControls() const;
    void LoadSettings();
    void SaveSettings() const;
    // Puts the window where Qt's record `saved` of its place says, within the screens there
    // are now; where it says nothing usable, in the middle of the primary screen.
    void RestorePlace(const QVariant& saved);

    // Contents preview (TForm1Preview.cpp).
    void SchedulePreview();
    void StartPreview();
    void ShowPreview();
    void ShowPlan(const engine::BookPlan& plan);
    // The cover the book will have, small, or why it has none.
    void ShowCover(const engine::CoverPlan& plan, const QImage& cover);
    // Book Name and Author as the plan decided them, where the user wrote nothing.
    void SuggestFromPlan(const engine::BookPlan& plan, const QString& firstSource);
    // The path of the list's first row; empty for none.
    QString FirstSource() const;
    // The pattern field's verdict, as the command line checks it; empty when it is fine.
    QString PatternProblem() const;

    // Book list (TForm1BookList.cpp).
    void BitBtn1Click();
    void ApplicationEvents1Message(const QMimeData& drop);
    void m_delClick();
    void DeleteKeyPressed();
    void m_delallClick();
    void m_upClick();
    void m_downClick();
    void m_listColumnClick(int column);
    int m_listCompare(int rowA, int rowB) const;
    void CoverPathEditButtonClick();
    // The folder of the path, for the file dialogs' next start.
    static QString FolderOf(const QString& path);
    int SelectedRow() const;
    void SelectRow(int row);
    int IdOf(int row) const;

    // Encoding column (TForm1Encodings.cpp).
    void ShowRowMenu(const QPoint& at);
    void GuessPendingEncodings();
    void ApplyEncodingGuesses();
    // The code page the files judged by their text or chosen by the user are in, for those
    // whose text alone does not tell (engine::BookCodePage).
    QString BookPage() const;
    // Queues the files whose text alone does not tell for judging again, when the book's code
    // page is no longer the one they were judged with.
    void JudgeAgainWithTheBook();
    void QueueGuess(int row, const QString& bookPage);
    // The encoding cell's text and tool tip, from the choice and the guess it holds.
    void ShowEncoding(QTableWidgetItem& cell) const;
    static QString BasisText(engine::EncodingBasis basis);
    int RowOfKey(int key) const;
    // The code page the user chose for the row, "" for Automatic.
    QString EncodingOf(int row) const;

    // Conversion (TForm1Convert.cpp).
    void SpeedButton1Click();
    engine::BookInput MakeBookInput(const QString& outputPath) const;
    // Asks before replacing an existing file; true when the book may be written at `output`.
    bool MayWriteBook(const engine::BookInput& input, const QString& output);
    void EnsureProgressDialog();
    void OnShowFormMessage();
    void OnProgress(int phase, int done);
    void OnChapterReport(const QString& chapterName);
    void OnCloseRequest();
    void OnShowResultMsg(const std::optional<engine::Failure>& failure);
    // The progress dialog's Cancel: the job stops at its next check point.
    void OnCancelPressed();
    // Stops whichever job runs.
    void RequestCancel();
    // One book per file: asks for the folder, then makes the books several at once.
    void ConvertEach();
    void OnBookStarted(int index);
    void OnBookFinished(int index, int outcome, const std::optional<engine::Failure>& failure);
    void OnBatchEnded();
    void ShowBatchProgress();
    // Opens the book or its folder with the desktop; says so, with the path, when it cannot.
    void OpenWithDesktop(const QString& path, bool folder);

    void URLLabel3Click();
    QMessageBox::StandardButton Say(QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons);

    Dialogs& dialogs_;
    std::string tempFolderPath_; // taken once, when the window is made
    std::function<void(const std::function<void()>&)> jobWrapper_; // for tests
    QString outputPath_; // of the running or last conversion

    QPushButton* BitBtn1 = nullptr;
    LinkLabel* URLLabel3 = nullptr;
    QTableWidget* m_list = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_del = nullptr;
    QPushButton* m_delall = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_zz = nullptr;
    QLineEdit* m_cbs = nullptr;
    SuggestedField* titleField_ = nullptr;  // m_title's suggestion
    SuggestedField* authorField_ = nullptr; // m_zz's
    QString suggestedFrom_;                 // the first row's path when the suggestions were made
    EllipsisEdit* CoverPath = nullptr;
    QCheckBox* m_chapters = nullptr;
    QLineEdit* m_pattern = nullptr;
    QLineEdit* m_language = nullptr;
    QComboBox* m_epubVersion = nullptr;
    QComboBox* m_paragraphs = nullptr;
    QCheckBox* m_vertical = nullptr;      // enabled only while m_epubVersion is EPUB 3
    QComboBox* m_chineseScript = nullptr; // the reader's script (engine::ChineseScript)
    QCheckBox* m_eachFile = nullptr;      // one book per file, in a folder
    QPushButton* m_appearance = nullptr;
    TAppearanceDialog* appearance_ = nullptr;
    QCheckBox* m_titleCover = nullptr; // without a picture, a cover made from the title
    QPushButton* m_more = nullptr;
    TDetailsDialog* details_ = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    LinkLabel* URLLabel4 = nullptr;
    QTreeWidget* m_preview = nullptr;
    QLabel* m_previewNote = nullptr;
    QLabel* m_coverPreview = nullptr;

    QString sourceFolder_; // where the last sources were added from
    QString bookFolder_;   // where the last book was saved

    // Sort state for the whole run: 0 ascending, 1 descending; -1 is no column yet.
    int sortColumn_ = 0;
    int lastClickedColumn_ = -1;
    int sortDirection_ = 0;

    int nextRowKey_ = 1;
    QList<EncodingGuess> pendingGuesses_;
    QFutureWatcher<QList<EncodingGuess>> guessing_;

    QTimer* previewTimer_ = nullptr;
    QFutureWatcher<PreviewResult> previewing_;
    std::shared_ptr<std::atomic<bool>> previewCancel_;
    int previewGeneration_ = 0;
    bool previewUnseen_ = false; // a plan was asked for and is not shown yet
    std::function<void()> planMadeHook_;

    QPointer<TForm3> Form3;
    QPointer<TLongWaitTrd> worker_;
    // One book per file (TForm1Each.cpp): the batch, its books, the titles being made, the
    // books ended and the reasons of those not made.
    QPointer<TBatchWorker> batch_;
    std::vector<engine::BookInput> batchBooks_;
    QMap<int, QString> batchCurrent_;
    int batchEnded_ = 0;
    int batchMade_ = 0;
    QStringList batchFailures_;
    QString batchFolder_;
    int terminatingSignal_ = 0;
    // Of the running or last conversion: the user pressed Cancel, or closed the window and
    // said the job may stop; whether its output existed before it started.
    bool cancelPressed_ = false;
    bool closeWhenStopped_ = false;
    bool outputExisted_ = false;
};

} // namespace folivane::ui
