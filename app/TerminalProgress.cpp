// Drawing chapter reports as a bar or as lines.
#include "TerminalProgress.h"

#include "engine/chapters/TextNotice.h"

#include "platform/TerminationSignals.h"

#include <string>

#include <unistd.h>

namespace folivane::cli {

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
    // Before the chapter reports, so never in the middle of a bar.
    broken_ = std::fprintf(out_,
                           "folivane-cli: \"%s\": its text alone does not tell its code page; "
                           "read as %s, %s\n",
                           path.c_str(), judged.encoding.c_str(), why) < 0 ||
              std::fflush(out_) != 0;
}

void TerminalProgress::Notice(const std::string& path, const engine::TextNotice& notice) {
    if (quiet_ || broken_) return;
    const std::string what = engine::NoticeText(notice);
    // Before the chapter reports, so never in the middle of a bar.
    broken_ = std::fprintf(out_, "folivane-cli: \"%s\": %s\n", path.c_str(), what.c_str()) < 0 ||
              std::fflush(out_) != 0;
}

void TerminalProgress::ChapterReport(const std::string& chapterName) {
    ++done_;
    if (quiet_ || broken_) return;
    const std::string line = engine::ChapterReportText(chapterName);
    if (!terminal_) {
        broken_ = std::fprintf(out_, "%s\n", line.c_str()) < 0 || std::fflush(out_) != 0;
        return;
    }
    constexpr int kWidth = 30;
    const int filled = maximum_ > 0 ? done_ * kWidth / maximum_ : kWidth;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kWidth - filled), ' ');
    // \033[K clears what a longer previous line left behind.
    std::fprintf(out_, "\r[%s] %d/%d %s\033[K", bar.c_str(), done_, maximum_, line.c_str());
    std::fflush(out_);
}

void TerminalProgress::PackingReport(std::size_t written, std::size_t total) {
    if (quiet_ || broken_ || !terminal_) return;
    // A terminal redraws slowly: every 64th file is enough, and the last.
    if (written % 64 != 0 && written != total) return;
    std::fprintf(out_, "\r[%s] Packing the book... %zu/%zu\033[K", std::string(30, '#').c_str(),
                 written, total);
    std::fflush(out_);
}

void TerminalProgress::CloseRequest() {
    if (!quiet_ && terminal_ && done_ > 0) std::fprintf(out_, "\n");
}

void TerminalProgress::Result(const std::optional<engine::Failure>& failure) {
    failure_ = failure;
}

} // namespace folivane::cli
