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

using Run = std::vector<std::size_t>; // candidate indexes

struct PartWord {
    std::string_view word;
    unsigned rank;
};
constexpr PartWord kPartWords[] = {{"前編", 11}, {"中編", 12}, {"後編", 13},
                                   {"上", 1},    {"中", 2},    {"下", 3}};

} // namespace

std::vector<std::size_t> NumberedHeadingIndexes(const std::vector<NumberCandidate>& candidates,
                                                const std::vector<std::size_t>& volumeBegins) {
    std::vector<Run> kept;
    std::map<unsigned, std::vector<Run>> open; // by style, the innermost run last
    const auto close = [&](Run& run) {
        if (run.size() >= kShortestRun) kept.push_back(std::move(run));
    };
    const auto closeAll = [&] {
        for (auto& [style, runs] : open)
            for (Run& run : runs)
                close(run);
        open.clear();
    };
    std::size_t volume = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const NumberCandidate& candidate = candidates[i];
        bool passedVolume = false;
        while (volume < volumeBegins.size() && volumeBegins[volume] < candidate.begin) {
            ++volume;
            passedVolume = true;
        }
        if (passedVolume) closeAll();
        std::vector<Run>& runs = open[candidate.number.style];
        // The outermost run this number goes on; the runs opened inside it were text.
        auto goesOn = runs.begin();
        for (; goesOn != runs.end(); ++goesOn)
            if (candidates[goesOn->back()].number.value + 1 == candidate.number.value) break;
        if (goesOn != runs.end()) {
            goesOn->push_back(i);
            runs.erase(goesOn + 1, runs.end());
        } else if (candidate.number.value == 1) {
            if (runs.size() == kMostOpenRuns) {
                close(runs.front());
                runs.erase(runs.begin());
            }
            runs.push_back({i});
        }
    }
    closeAll();
    // A run that lies between two lines of another is a list inside that one's chapter.
    const auto inside = [](const Run& inner, const Run& outer) {
        const auto next = std::ranges::upper_bound(outer, inner.front());
        return next != outer.begin() && next != outer.end() && *next > inner.back();
    };
    std::vector<std::size_t> accepted;
    for (const Run& run : kept)
        if (std::ranges::none_of(kept, [&](const Run& other) { return inside(run, other); }))
            accepted.insert(accepted.end(), run.begin(), run.end());
    std::ranges::sort(accepted);
    return accepted;
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
