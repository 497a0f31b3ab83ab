// The worker thread that makes one book per source (RunBatch).
#pragma once

#include "engine/job/BookBatch.h"

#include <QThread>

#include <atomic>
#include <optional>
#include <vector>

namespace folivane::ui {

// Runs RunBatch once over the books handed to it, `jobs` at once, each with a working tree in
// `tempFolder`. Its signals are emitted on the batch's threads; connect them with
// Qt::QueuedConnection to receivers on the user-interface thread. The object belongs to the
// user-interface thread; destroy it only after the thread finished.
class TBatchWorker : public QThread, private engine::BatchSink {
    Q_OBJECT
public:
    TBatchWorker(std::vector<engine::BookInput> books, std::size_t jobs, std::string tempFolder,
                 QObject* parent = nullptr);

    // Stops every job at its next check point; the books finished stay. From any thread.
    void RequestCancel() { cancel_ = true; }

signals:
    void bookStarted(int index);
    // `outcome` is an engine::BatchOutcome; `failure` says why a book was not made.
    void bookFinished(int index, int outcome,
                      const std::optional<folivane::engine::Failure>& failure);

protected:
    void run() override;

private:
    void Started(std::size_t index) override;
    void Finished(std::size_t index, engine::BatchOutcome outcome,
                  const std::optional<engine::Failure>& failure) override;
    bool CancelRequested() override { return cancel_; }

    std::atomic<bool> cancel_{false};
    const std::vector<engine::BookInput> books_;
    const std::size_t jobs_;
    const std::string tempFolder_;
};

} // namespace folivane::ui
