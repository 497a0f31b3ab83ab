// The conversion worker: DoTask on its own thread, its events turned into signals.
#include "TLongWaitTrd.h"

#include "engine/job/ConversionJob.h"

namespace folivane::ui {

TLongWaitTrd::TLongWaitTrd(engine::BookInput input, engine::WorkingTree tree, JobWrapper around,
                           QObject* parent)
    : QThread(parent), input_(std::move(input)), tree_(std::move(tree)),
      around_(std::move(around)) {
    setObjectName(QStringLiteral("TLongWaitTrd"));
}

TLongWaitTrd::~TLongWaitTrd() {
    // A thread object must not die while its thread runs; a cancelled job ends at its next
    // check point.
    wait();
}

void TLongWaitTrd::run() {
    const auto job = [this] { engine::DoTask(input_, tree_, *this); };
    if (around_)
        around_(job);
    else
        job();
}

void TLongWaitTrd::ShowProgress() {
    emit showProgress();
}

void TLongWaitTrd::Progress(engine::JobPhase phase, int done) {
    emit progress(static_cast<int>(phase), done);
}

void TLongWaitTrd::SetMaximum(int) {
    // The bar counts the whole job (progress), not the chapters.
}

void TLongWaitTrd::ChapterReport(const std::string& chapterName) {
    emit chapterReport(QString::fromStdString(chapterName));
}

void TLongWaitTrd::CloseRequest() {
    emit closeRequest();
}

void TLongWaitTrd::Result(const std::optional<engine::Failure>& failure) {
    emit result(failure);
}

} // namespace folivane::ui
