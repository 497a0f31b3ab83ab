// The progress dialog shown while a conversion runs.
#pragma once

#include "engine/job/ProgressSink.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace folivane::ui {

// A dialog without buttons that the user cannot close: Escape and close requests from the
// window manager are ignored, and only Finish() ends it. Lives on the user-interface
// thread; its owner (the main window) creates it, shows it and destroys it after Finish().
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
    // Ends the dialog as a cancel would (finished() with Rejected).
    void Finish();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* Label1;
    QProgressBar* ProgressBar1;
    bool finishing_ = false;
    bool started_ = false; // a progress report came: the bar counts in thousandths
    engine::JobPhase phase_ = engine::JobPhase::Reading;
};

} // namespace folivane::ui
