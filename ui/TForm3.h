// The progress dialog shown while a conversion runs.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace folivane::ui {

// A dialog with one button, Cancel, which Escape and a close request from the window manager
// press too: it emits cancelPressed() once and waits, saying it is cancelling, for the job
// to stop. Only Finish() ends it. Lives on the user-interface thread; its owner (the main
// window) creates it, shows it and destroys it after Finish().
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Text "Preprocess...", bar at 0 of 100.
    void InitProgressStatus();
    // Says the files are being read and puts the bar at the share read: `done` of `total`.
    void ReadingReport(qulonglong done, qulonglong total);
    // The bar's maximum becomes twice the number of chapters: one step for each chapter
    // written, then as many for packing the book; it starts again from the left.
    void SetMaximum(int chapterCount);
    // Names the chapter being written and advances the bar by one.
    void ChapterReport(const QString& chapterName);
    // Says the book is being packed and puts the bar past the chapters by the share of the
    // book's files packed: full once the last one is in.
    void PackingReport(qulonglong written, qulonglong total);
    // Ends the dialog as a cancel would (finished() with Rejected).
    void Finish();

signals:
    // The user asked to stop the conversion: Cancel, Escape or the window's close button.
    void cancelPressed();

public slots:
    // Escape and a close request come here; they press Cancel.
    void reject() override;

private:
    void PressCancel();
    // Names the job's phase to screen readers, which tell it with the bar's progress.
    void AnnouncePhase(const QString& phase);

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QPushButton* m_cancel;
    bool finishing_ = false;
    int chapters_ = 0;
};

} // namespace folivane::ui
