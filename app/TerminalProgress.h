// Progress of a conversion on the terminal: a bar on a terminal, plain lines otherwise.
#pragma once

#include "engine/job/ProgressSink.h"

#include <cstdio>
#include <optional>
#include <string>

namespace folivane::cli {

// Writes the job's progress to `out` (standard error) as it comes and keeps the result. On a
// terminal one bar over the whole job is drawn over itself, labelled by the phase; elsewhere
// each phase says when it begins and each chapter has a line.
class TerminalProgress : public engine::ProgressSink {
public:
    TerminalProgress(std::FILE* out, bool quiet);

    void ShowProgress() override {}
    // One line for each source whose code page its text did not tell.
    void EncodingReport(const std::string& path, const engine::EncodingJudgement& judged) override;
    // One line for each fact the rules found that the user should know.
    void Notice(const std::string& path, const engine::TextNotice& notice) override;
    // Said even with --quiet: the book the user asked for lacks what it would have had.
    void CoverNotice(const std::string& problem) override;
    void Progress(engine::JobPhase phase, int done) override;
    void SetMaximum(int chapterCount) override { maximum_ = chapterCount; }
    void ChapterReport(const std::string& chapterName) override;
    void PackingReport(std::size_t written, std::size_t total) override;
    void CloseRequest() override;
    void Result(const std::optional<engine::Failure>& failure) override;
    // A terminating signal stops the job.
    bool CancelRequested() override;

    // Nothing once the book is written; why it is not otherwise.
    const std::optional<engine::Failure>& Failed() const { return failure_; }

private:
    // Draws the bar with `label` on a terminal.
    void Draw(const std::string& label);
    // Writes a line.
    void Line(const std::string& line);
    // Writes a line of its own beside the bar.
    void Say(const std::string& line);

    std::FILE* out_;
    bool quiet_;
    bool broken_ = false; // the reader went away: nothing more is written
    bool terminal_;
    int maximum_ = 0;
    int done_ = 0;  // chapters written
    int shown_ = 0; // the job's share done, in thousandths
    engine::JobPhase phase_ = engine::JobPhase::Reading;
    bool phaseSaid_[5] = {}; // lines written elsewhere say each phase once
    std::string label_;      // what the bar says now
    bool drawn_ = false;
    std::optional<engine::Failure> failure_ = engine::Failure{
        .kind = engine::FailureKind::Unexpected, .detail = "the job gave no result"};
};

} // namespace folivane::cli
