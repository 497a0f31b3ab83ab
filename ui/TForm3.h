// The progress dialog shown while a conversion runs.
#pragma once

#include "engine/job/ProgressSink.h"

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
    // One bar over the whole job: at `done` of engine::kProgressScale, never back, and the
    // phase said above it (while pages are written, the chapter reports say which).
    void Progress(engine::JobPhase phase, int done);
    // Names the chapter being written.
    void ChapterReport(const QString& chapterName);
    // One book per file: `done` of `total` books ended, the bar by books, and the titles of
    // the books being made said beside "12 of 40".
    void BatchProgress(int done, int total, const QStringList& current);
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
    bool started_ = false; // a progress report came: the bar counts in thousandths
    engine::JobPhase phase_ = engine::JobPhase::Reading;
};

} // namespace folivane::ui
