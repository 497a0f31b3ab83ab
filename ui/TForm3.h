// The progress dialog shown while a conversion runs.
#pragma once

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

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* Label1;
    QProgressBar* ProgressBar1;
    bool finishing_ = false;
    int chapters_ = 0;
};

} // namespace folivane::ui
