// The job's progress as one bar on a terminal, as lines elsewhere.
#include "TerminalProgress.h"

#include "engine/chapters/TextNotice.h"

#include "platform/TerminationSignals.h"

#include <string>

#include <unistd.h>

namespace folivane::cli {
namespace {

// What the bar says in each phase but writing pages, which names the chapter.
const char* PhaseText(engine::JobPhase phase) {
    switch (phase) {
    case engine::JobPhase::Reading:
        return "Reading the files...";
    case engine::JobPhase::FindingChapters:
        return "Finding the chapters...";
    case engine::JobPhase::WritingPages:
        return "Writing the pages...";
    case engine::JobPhase::Packing:
        return "Packing the book...";
    case engine::JobPhase::Checking:
        break;
    }
    return "Checking the book...";
}

} // namespace

TerminalProgress::TerminalProgress(std::FILE* out, bool quiet)
    : out_(out), quiet_(quiet), terminal_(::isatty(::fileno(out)) != 0) {}

bool TerminalProgress::CancelRequested() {
    return platform::TerminationSignals::Received() != 0;
}

void TerminalProgress::EncodingReport(const std::string& path,
                                      const engine::EncodingJudgement& judged) {
    if (quiet_ || broken_) return;
    const char* why = judged.basis == engine::EncodingBasis::Book
                          ? "the code page of the book's other sources"
                      : judged.basis == engine::EncodingBasis::Locale
                          ? "the code page of the locale"
                          : "a guess; name the right one with --encoding if the text is wrong";
    Say("folivane-cli: \"" + path + "\": its text alone does not tell its code page; read as " +
        judged.encoding + ", " + why);
}

void TerminalProgress::Notice(const std::string& path, const engine::TextNotice& notice) {
    if (quiet_ || broken_) return;
    Say("folivane-cli: \"" + path + "\": " + engine::NoticeText(notice));
}

void TerminalProgress::CoverNotice(const std::string& problem) {
    if (broken_) return;
    Say("folivane-cli: the book has no cover: " + problem);
}

void TerminalProgress::Progress(engine::JobPhase phase, int done) {
    const bool newPhase = phase != phase_ || !drawn_;
    phase_ = phase;
    shown_ = done;
    if (quiet_ || broken_) return;
    if (!terminal_) {
        bool& said = phaseSaid_[static_cast<int>(phase)];
        if (!said && phase != engine::JobPhase::WritingPages) Line(PhaseText(phase));
        said = true;
        return;
    }
    // Within a phase the chapter and packing reports give the label.
    if (newPhase) label_ = PhaseText(phase);
    Draw(label_);
}

void TerminalProgress::ChapterReport(const std::string& chapterName) {
    ++done_;
    if (quiet_ || broken_) return;
    const std::string line = engine::ChapterReportText(chapterName);
    if (!terminal_) return Line(line);
    label_ = std::to_string(done_) + "/" + std::to_string(maximum_) + " " + line;
    Draw(label_);
}

void TerminalProgress::PackingReport(std::size_t written, std::size_t total) {
    if (quiet_ || broken_ || !terminal_) return;
    label_ = "Packing the book... " + std::to_string(written) + "/" + std::to_string(total);
    // A terminal redraws slowly: every 64th file is enough, and the last.
    if (written % 64 == 0 || written == total) Draw(label_);
}

void TerminalProgress::Draw(const std::string& label) {
    constexpr int kWidth = 30;
    const int filled = shown_ * kWidth / engine::kProgressScale;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kWidth - filled), ' ');
    // \033[K clears what a longer previous line left behind.
    std::fprintf(out_, "\r[%s] %3d%% %s\033[K", bar.c_str(), shown_ * 100 / engine::kProgressScale,
                 label.c_str());
    std::fflush(out_);
    drawn_ = true;
}

void TerminalProgress::Say(const std::string& line) {
    // On a line of its own, never in the middle of the bar, which is drawn again below it.
    if (terminal_ && drawn_) std::fputs("\r\033[K", out_);
    Line(line);
    if (terminal_ && drawn_ && !broken_) Draw(label_);
}

void TerminalProgress::Line(const std::string& line) {
    broken_ = std::fprintf(out_, "%s\n", line.c_str()) < 0 || std::fflush(out_) != 0;
}

void TerminalProgress::CloseRequest() {
    if (!quiet_ && terminal_ && drawn_) std::fprintf(out_, "\n");
}

void TerminalProgress::Result(const std::optional<engine::Failure>& failure) {
    failure_ = failure;
}

} // namespace folivane::cli
