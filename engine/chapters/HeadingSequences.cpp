// Runs of number lines kept on a stack, parts matched in their order.
#include "HeadingSequences.h"

#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <map>

namespace folivane::engine {
namespace {

// Shortest run of number lines that heads chapters.
constexpr std::size_t kShortestRun = 3;
// Open runs of one style kept at most; more are lone numbers in the text.
constexpr std::size_t kMostOpenRuns = 256;
// A chapter holds two lines at least: numbers closer as a rule are a list's items.
constexpr std::size_t kFewestLinesBetween = 2;
// Chapters divide their part of the text: a list holds less than this share of it.
constexpr std::size_t kPartShare = 3;

// How a number goes on from the one before it in its run.
enum class Step { Next, Skip, Repeat };

struct Item {
    std::size_t candidate;
    Step step = Step::Next;
    bool list = false; // it might instead be the next item of a list opened inside the run
};
using Run = std::vector<Item>;

struct PartWord {
    std::string_view word;
    unsigned rank;
};
constexpr PartWord kPartWords[] = {{"前編", 11}, {"中編", 12}, {"後編", 13},
                                   {"上", 1},    {"中", 2},    {"下", 3}};

class RunFinder {
public:
    explicit RunFinder(const std::vector<NumberCandidate>& candidates) : candidates_(candidates) {}

    // The runs of three numbers at least, each within one part of the text.
    std::vector<Run> Runs(const std::vector<std::size_t>& volumeLines) {
        std::size_t volume = 0;
        for (std::size_t i = 0; i < candidates_.size(); ++i) {
            bool passedVolume = false;
            while (volume < volumeLines.size() && volumeLines[volume] < candidates_[i].line) {
                ++volume;
                passedVolume = true;
            }
            if (passedVolume) CloseAll();
            Take(i);
        }
        CloseAll();
        return std::move(kept_);
    }

private:
    unsigned Value(const Item& item) const { return candidates_[item.candidate].number.value; }

    void Take(std::size_t i) {
        const unsigned value = candidates_[i].number.value;
        std::vector<Run>& runs = open_[candidates_[i].number.style];
        // The outermost run this number goes on; the runs opened inside it were text.
        auto target = runs.begin();
        for (; target != runs.end(); ++target) {
            Run& run = *target;
            // A number taken as a skip, or as the end of a list inside, gives way to the
            // right one: 6, 8 (said in the text), 7; 2, 3 (the list's), 3.
            const Item& last = run.back();
            if (run.size() >= 2 && Value(run[run.size() - 2]) + 1 == value &&
                ((last.step == Step::Skip && Value(last) == value + 1) ||
                 (last.list && Value(last) == value)))
                run.pop_back();
            if (Value(run.back()) + 1 == value) break;
        }
        Step step = Step::Next;
        if (target == runs.end() && value == 1) {
            if (runs.size() == kMostOpenRuns) {
                Close(runs.front());
                runs.erase(runs.begin());
            }
            runs.push_back({{i}});
            return;
        }
        if (target == runs.end()) {
            // One number missing or repeated, never two tolerances in a row.
            target = std::ranges::find_if(runs, [&](const Run& run) {
                const Item& last = run.back();
                return last.step == Step::Next &&
                       (Value(last) == value || Value(last) + 2 == value);
            });
            if (target == runs.end()) return;
            step = Value(target->back()) == value ? Step::Repeat : Step::Skip;
        }
        const bool list = std::any_of(target + 1, runs.end(), [&](const Run& inner) {
            return Value(inner.back()) + 1 == value;
        });
        target->push_back({i, step, list});
        runs.erase(target + 1, runs.end());
    }

    void Close(Run& run) {
        if (run.size() >= kShortestRun) kept_.push_back(std::move(run));
    }
    void CloseAll() {
        for (auto& [style, runs] : open_)
            for (Run& run : runs)
                Close(run);
        open_.clear();
    }

    const std::vector<NumberCandidate>& candidates_;
    std::vector<Run> kept_;
    std::map<unsigned, std::vector<Run>> open_; // by style, the innermost run last
};

// A run with its measures, as the text's other runs and headings judge it.
struct Judged {
    Run run;
    std::size_t first = 0; // its first line
    std::size_t last = 0;  // its last line
    std::size_t usual = 0; // the median count of lines between its numbers
    std::size_t part = 0;  // the part of the text it lies in (volumes before it)
    unsigned style = 0;
    bool list = false;
};

std::size_t Median(std::vector<std::size_t> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The run's measures; its tolerated numbers that cut a chapter short are dropped first.
Judged Measure(Run run, const std::vector<NumberCandidate>& candidates,
               const std::vector<std::size_t>& volumeLines) {
    const auto lineOf = [&](const Item& item) { return candidates[item.candidate].line; };
    const auto gaps = [&] {
        std::vector<std::size_t> between;
        for (std::size_t j = 1; j < run.size(); ++j)
            between.push_back(lineOf(run[j]) - lineOf(run[j - 1]) - 1);
        return between;
    };
    const std::vector<std::size_t> before = gaps();
    const std::size_t usual = Median(before);
    Run checked;
    for (std::size_t j = 0; j < run.size(); ++j) {
        const Step step = run[j].step;
        const bool lastOne = j + 1 == run.size();
        if (step == Step::Repeat || (step == Step::Skip && lastOne)) {
            const bool shortBefore = 2 * before[j - 1] < usual;
            const bool shortAfter = !lastOne && 2 * before[j] < usual;
            if (shortBefore || shortAfter) continue;
        }
        checked.push_back(run[j]);
    }
    Judged judged;
    judged.run = std::move(checked);
    if (judged.run.size() < kShortestRun) {
        judged.list = true;
        return judged;
    }
    run = judged.run;
    judged.usual = Median(gaps());
    judged.first = lineOf(run.front());
    judged.last = lineOf(run.back());
    judged.part = static_cast<std::size_t>(std::ranges::lower_bound(volumeLines, judged.first) -
                                           volumeLines.begin());
    judged.style = candidates[run.front().candidate].number.style;
    return judged;
}

// Whether `inner` lies between two numbers of `outer` that follow each other.
bool Inside(const Judged& inner, const Judged& outer,
            const std::vector<NumberCandidate>& candidates) {
    const auto next = std::ranges::upper_bound(outer.run, inner.first, {}, [&](const Item& item) {
        return candidates[item.candidate].line;
    });
    return next != outer.run.begin() && next != outer.run.end() &&
           candidates[next->candidate].line > inner.last;
}

} // namespace

NumberedHeadings FindNumberedHeadings(const std::vector<NumberCandidate>& candidates,
                                      const std::vector<FoundHeading>& found, std::size_t lines) {
    std::vector<std::size_t> volumeLines;
    for (const FoundHeading& heading : found)
        if (heading.volume) volumeLines.push_back(heading.line);
    std::vector<Judged> runs;
    for (Run& run : RunFinder(candidates).Runs(volumeLines)) {
        runs.push_back(Measure(std::move(run), candidates, volumeLines));
        Judged& judged = runs.back();
        if (judged.usual < kFewestLinesBetween) judged.list = true;
    }
    for (Judged& run : runs) {
        if (run.list) continue;
        if (std::ranges::any_of(runs, [&](const Judged& other) {
                return !other.list && &other != &run && Inside(run, other, candidates);
            })) {
            run.list = true;
            continue;
        }
        // Within one numbered chapter found by its heading: sections or a list of it.
        const auto after = std::ranges::upper_bound(found, run.first, {}, &FoundHeading::line);
        if (after != found.begin()) {
            const FoundHeading& chapter = *(after - 1);
            if (!chapter.volume && chapter.numbered &&
                (after == found.end() || after->line > run.last))
                run.list = true;
        }
    }
    // The share of its part that the runs of each style hold together.
    std::map<std::pair<std::size_t, unsigned>, std::size_t> held;
    for (const Judged& run : runs) {
        if (run.list) continue;
        const std::size_t partEnd = run.part < volumeLines.size() ? volumeLines[run.part] : lines;
        held[{run.part, run.style}] += std::min(run.last + run.usual + 1, partEnd) - run.first;
    }
    NumberedHeadings result;
    std::vector<std::pair<std::size_t, TextNotice>> notices; // by candidate, for text order
    for (Judged& run : runs) {
        if (run.list) continue;
        const std::size_t partBegin = run.part == 0 ? 0 : volumeLines[run.part - 1] + 1;
        const std::size_t partEnd = run.part < volumeLines.size() ? volumeLines[run.part] : lines;
        if (held[{run.part, run.style}] * kPartShare < partEnd - partBegin) continue;
        for (const Item& item : run.run) {
            result.indexes.push_back(item.candidate);
            const long value = candidates[item.candidate].number.value;
            if (item.step == Step::Next) continue;
            TextNotice notice{};
            notice.kind = TextNotice::Kind::NumberRepeated;
            notice.number = value;
            if (item.step == Step::Skip) {
                notice.kind = TextNotice::Kind::NumberMissing;
                notice.number = value - 1;
            }
            notices.emplace_back(item.candidate, std::move(notice));
        }
    }
    std::ranges::sort(result.indexes);
    std::ranges::sort(notices, {}, &std::pair<std::size_t, TextNotice>::first);
    for (auto& [candidate, notice] : notices)
        result.notices.push_back(std::move(notice));
    return result;
}

unsigned JapanesePartRank(std::string_view trimmed) {
    for (const PartWord& part : kPartWords) {
        if (!trimmed.starts_with(part.word)) continue;
        const std::string_view rest = trimmed.substr(part.word.size());
        return LeadingSpaceLength(rest) != 0 && !IsBlank(rest) ? part.rank : 0;
    }
    return 0;
}

std::vector<std::size_t> JapanesePartIndexes(const std::vector<PartCandidate>& candidates) {
    for (std::size_t first = 0; first < candidates.size(); ++first) {
        if (candidates[first].rank % 10 != 1) continue;
        std::vector<std::size_t> parts{first};
        for (std::size_t i = first + 1; i < candidates.size(); ++i)
            if (candidates[i].rank > candidates[parts.back()].rank &&
                candidates[i].rank <= candidates[first].rank + 2)
                parts.push_back(i); // 上 and 下 without 中 are two volumes in order too
        if (parts.size() >= 2) return parts;
    }
    return {};
}

} // namespace folivane::engine
