// Inputs and expectations for end-to-end conversions, and the independent book checker.
#pragma once

#include "engine/job/ProgressSink.h"
#include "engine/text/FailureText.h"

#include <optional>
#include <string>
#include <vector>

namespace folivane::test {

// Records the job's events as short strings: "show", "max 3", "chapter NAME", "close",
// "result 0".
class RecordingSink : public engine::ProgressSink {
public:
    void ShowProgress() override { events.push_back("show"); }
    void SetMaximum(int count) override { events.push_back("max " + std::to_string(count)); }
    void ChapterReport(const std::string& name) override { events.push_back("chapter " + name); }
    // "encoding PATH ENCODING book", "... locale" or "... guess".
    void EncodingReport(const std::string& path, const engine::EncodingJudgement& judged) override {
        const char* basis = judged.basis == engine::EncodingBasis::Book     ? "book"
                            : judged.basis == engine::EncodingBasis::Locale ? "locale"
                                                                            : "guess";
        events.push_back("encoding " + path + " " + judged.encoding + " " + basis);
    }
    // Kept apart from `events`, with how many events came before each.
    void PackingReport(std::size_t written, std::size_t total) override {
        packing.push_back({written, total, events.size()});
    }
    void CloseRequest() override { events.push_back("close"); }
    void Result(const std::optional<engine::Failure>& failed) override {
        events.push_back(failed ? "result 1" : "result 0");
        failure = failed;
        reason = failed ? engine::FailureText(*failed) : std::string();
    }

    struct Packing {
        std::size_t written, total, after;
        bool operator==(const Packing&) const = default;
    };
    std::vector<std::string> events;
    std::vector<Packing> packing;
    std::optional<engine::Failure> failure;
    std::string reason; // the failure in English
};

struct ExpectedChapter {
    std::string name;
    std::vector<std::string> lines;
};

// What a book should hold; unset parts are not checked.
struct ExpectedBook {
    std::string path;
    std::optional<std::string> title, author, publisher;
    std::optional<std::string> coverMediaType;
    std::optional<std::vector<ExpectedChapter>> chapters;
    std::optional<std::vector<std::string>> text; // all chapters' paragraphs in order
    bool pandoc = true;                           // pandoc takes minutes over a book of tens of MB
    std::optional<int> epubVersion;
    std::optional<std::string> language;
};

// Runs tests/data/check_book.py on the books: epubcheck with no warning, unzip -t, Python's
// zipfile, pandoc (unless the book leaves it out), mimetype first and stored, and the expected
// contents. Returns the problems found, one per line; empty when every book is sound.
std::string CheckBooks(const std::vector<ExpectedBook>& books, const std::string& scratchFolder);

// Small pictures of each kind, made here so no picture file needs to be committed.
std::string MakeJpeg();
std::string MakePng();
std::string MakeBmp();
std::string MakeGif();

// Joins lines with a line end.
std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd);

} // namespace folivane::test
