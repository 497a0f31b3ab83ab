// Progress of a conversion on the terminal: a bar on a terminal, plain lines otherwise.
#pragma once

#include "engine/job/ProgressSink.h"

#include <cstdio>
#include <optional>
#include <string>

namespace folivane::cli {

// Writes chapter reports to `out` (standard error) as they come and keeps the result.
class TerminalProgress : public engine::ProgressSink {
public:
    TerminalProgress(std::FILE* out, bool quiet);

    void ShowProgress() override {}
    // One line for each source whose code page its text did not tell.
    void EncodingReport(const std::string& path, const engine::EncodingJudgement& judged) override;
    // One line for each fact the rules found that the user should know.
    void Notice(const std::string& path, const engine::TextNotice& notice) override;
    void SetMaximum(int chapterCount) override { maximum_ = chapterCount; }
    void ChapterReport(const std::string& chapterName) override;
    // On a terminal only: lines written elsewhere stay one per chapter.
    void PackingReport(std::size_t written, std::size_t total) override;
    void CloseRequest() override;
    void Result(const std::optional<engine::Failure>& failure) override;
    // A terminating signal stops the job.
    bool CancelRequested() override;

    // Nothing once the book is written; why it is not otherwise.
    const std::optional<engine::Failure>& Failed() const { return failure_; }

private:
    std::FILE* out_;
    bool quiet_;
    bool broken_ = false; // the reader went away: nothing more is written
    bool terminal_;
    int maximum_ = 0;
    int done_ = 0;
    std::optional<engine::Failure> failure_ = engine::Failure{
        .kind = engine::FailureKind::Unexpected, .detail = "the job gave no result"};
};

} // namespace folivane::cli
