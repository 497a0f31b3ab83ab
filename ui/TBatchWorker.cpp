// The batch's events turned into signals.
#include "TBatchWorker.h"

namespace folivane::ui {

TBatchWorker::TBatchWorker(std::vector<engine::BookInput> books, std::size_t jobs,
                           std::string tempFolder, QObject* parent)
    : QThread(parent), books_(std::move(books)), jobs_(jobs), tempFolder_(std::move(tempFolder)) {}

void TBatchWorker::run() {
    engine::RunBatch(books_, jobs_, false, tempFolder_, *this);
}

void TBatchWorker::Started(std::size_t index) {
    emit bookStarted(static_cast<int>(index));
}

void TBatchWorker::Finished(std::size_t index, engine::BatchOutcome outcome,
                            const std::optional<engine::Failure>& failure) {
    emit bookFinished(static_cast<int>(index), static_cast<int>(outcome), failure);
}

} // namespace folivane::ui
