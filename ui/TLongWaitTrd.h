// The worker thread that runs one conversion job.
#pragma once

#include "engine/job/BookInput.h"
#include "engine/job/ProgressSink.h"
#include "engine/job/WorkingTree.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <optional>

namespace folivane::ui {

// Runs DoTask once with the book and the working tree handed to it, both made on the
// user-interface thread before start(). The job's events leave as the signals below,
// emitted on the worker thread; connect them with Qt::QueuedConnection to receivers on the
// user-interface thread and they arrive there in the order the job sent them. The object
// itself belongs to the user-interface thread; destroy it only after the thread finished.
class TLongWaitTrd : public QThread, private engine::ProgressSink {
    Q_OBJECT
public:
    // Runs `job` once on the worker's thread; tests set one to inject faults there.
    using JobWrapper = std::function<void(const std::function<void()>& job)>;

    TLongWaitTrd(engine::BookInput input, engine::WorkingTree tree, JobWrapper around = {},
                 QObject* parent = nullptr);
    ~TLongWaitTrd() override;

    // Asks the job to stop at its next check point; it then removes what it made and ends
    // with its result as a failure. From any thread.
    void RequestCancel() { cancel_ = true; }

signals:
    void showProgress();
    // `phase` is an engine::JobPhase; `done` of engine::kProgressScale.
    void progress(int phase, int done);
    void chapterReport(const QString& chapterName);
    void closeRequest();
    // Nothing: the book is written; otherwise why not.
    void result(const std::optional<folivane::engine::Failure>& failure);

protected:
    void run() override;

private:
    void ShowProgress() override;
    void Progress(engine::JobPhase phase, int done) override;
    void SetMaximum(int chapterCount) override;
    void ChapterReport(const std::string& chapterName) override;
    void CloseRequest() override;
    void Result(const std::optional<engine::Failure>& failure) override;
    bool CancelRequested() override { return cancel_; }

    std::atomic<bool> cancel_{false};
    const engine::BookInput input_;
    engine::WorkingTree tree_;
    const JobWrapper around_;
};

} // namespace folivane::ui
