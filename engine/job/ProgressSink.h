// How the conversion job talks to a front end: its events, always in this order.
#pragma once

#include "engine/chapters/TextNotice.h"
#include "engine/text/EncodingJudgement.h"
#include "engine/text/Failure.h"

#include <cstddef>
#include <optional>
#include <string>

namespace folivane::engine {

// The phases of a conversion, in the order they first come; reading and finding chapters
// alternate, source by source.
enum class JobPhase { Reading, FindingChapters, WritingPages, Packing, Checking };

// Progress of a whole job is told in thousandths.
constexpr int kProgressScale = 1000;

// Called from the job's thread: ShowProgress once, EncodingReport and Notice for some sources
// as they are read, CoverNotice at most once, SetMaximum once, ChapterReport once per chapter in
// book order, PackingReport as the book is packed, CloseRequest once, Result once; Progress from
// ShowProgress to CloseRequest. A front end that owns windows must carry each call to its own
// thread, keeping the order.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void ShowProgress() = 0;
    // While the chapters are found: the source at `path` has no byte-order mark, and its text
    // was too short or too unclear to tell its code page alone (JudgedWithoutItsText), so it
    // is read as `judged` says; a front end tells the user which way.
    virtual void EncodingReport(const std::string& path, const EncodingJudgement& judged) {
        static_cast<void>(path);
        static_cast<void>(judged);
    }
    // Before SetMaximum, while the chapters are found: something the rules decided about the
    // source at `path` that the user should know.
    virtual void Notice(const std::string& path, const TextNotice& notice) {
        static_cast<void>(path);
        static_cast<void>(notice);
    }
    // The share of the whole job done, `done` of kProgressScale, and the phase it is in:
    // the phases weighted by the share of the time they take, so that one bar moves evenly
    // from 0 to full. `done` never goes back, moves within the first few MiB of a large
    // source and reaches kProgressScale only when the book is written and checked.
    virtual void Progress(JobPhase phase, int done) {
        static_cast<void>(phase);
        static_cast<void>(done);
    }
    // Before SetMaximum, once: a cover made from the title was asked for and none could be
    // made (no installed font has the title's characters); `problem` says why in one line.
    // The book is written without a cover.
    virtual void CoverNotice(const std::string& problem) { static_cast<void>(problem); }
    virtual void SetMaximum(int chapterCount) = 0;
    virtual void ChapterReport(const std::string& chapterName) = 0;
    // After the last chapter report, while the book's archive is written: `written` of its
    // `total` files are packed, 0 when packing begins, `total` when the last is in.
    virtual void PackingReport(std::size_t written, std::size_t total) {
        static_cast<void>(written);
        static_cast<void>(total);
    }
    virtual void CloseRequest() = 0;
    // Nothing: the book is written. A failure: it is not, and the failure says why (Cancelled
    // when the front end stopped the job); the front end says it in its user's words.
    virtual void Result(const std::optional<Failure>& failure) = 0;

    // Asked from the job's thread at its check points (before each source, after each
    // chapter's page, while the archive is written): true stops the job, which then removes
    // what it made and ends with CloseRequest and Result(Cancelled) as any failure does.
    virtual bool CancelRequested() { return false; }
};

// The line a front end shows for a chapter report.
inline std::string ChapterReportText(const std::string& chapterName) {
    return "\"" + chapterName + "\" is building, Please wait...";
}

constexpr const char* kConvertSucceeded = "Convert Succeeded!";
constexpr const char* kConvertUnsuccessful = "Convert Unsuccessful!";

} // namespace folivane::engine
