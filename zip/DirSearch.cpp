// The walk of a folder tree, level by level, with wildcard folder components.
#include "DirSearch.h"

#include "WildcardMatch.h"

namespace folivane::zip {

TSearchData::TSearchData(std::string folder, std::uint32_t attributes, std::string pattern)
    : folderPath(IncludeTrailingSlash(std::move(folder))), levelPattern(std::move(pattern)) {
    if (auto listing = ListFolder(folderPath, attributes)) entries = std::move(*listing);
}

TDirSearch::TDirSearch(const std::string& root, std::uint32_t attributes, bool recurse,
                       const std::string& mask)
    : mask_(mask), recurse_(recurse), attributes_(attributes) {
    // An empty root is the working folder, never the file-system root.
    std::string base = root.empty() ? std::string("./") : IncludeTrailingSlash(root);
    const auto wildcard = base.find_first_of("*?<>|");
    if (wildcard != std::string::npos) {
        // Split at the separator before the first wildcard; a first component that holds
        // one has no folder to start from, and the search finds nothing.
        const auto slash = base.rfind('/', wildcard);
        const std::string rest = slash == std::string::npos ? base : base.substr(slash + 1);
        base = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
        std::size_t start = 0;
        for (auto end = rest.find('/'); end != std::string::npos; end = rest.find('/', start)) {
            components_.push_back(rest.substr(start, end - start));
            start = end + 1;
        }
    }
    if (base.empty()) {
        levels_.emplace_back(base, 0, mask_);
        levels_.back().entries.clear();
        return;
    }
    Enter(base, components_.empty() ? mask_ : components_.front());
}

void TDirSearch::Enter(const std::string& folder, std::string pattern) {
    levels_.emplace_back(folder, attributes_, std::move(pattern));
}

std::string TDirSearch::FindNextEntry(DirEntry* record) {
    while (!levels_.empty()) {
        const std::size_t level = levels_.size() - 1;
        TSearchData& t = levels_[level];
        if (t.Exhausted()) {
            levels_.pop_back();
            if (levels_.empty()) break;
            if (levels_.size() - 1 < components_.size()) --componentIndex_;
            levels_.back().Advance();
            continue;
        }
        if (level < components_.size()) {
            // A wildcard folder level: only matching sub-folders lead on.
            while (!t.Exhausted() &&
                   !((t.Current().attributes & faDirectory) &&
                     WildcardMatch(components_[componentIndex_], t.Current().name)))
                t.Advance();
            if (t.Exhausted()) continue;
            const std::string folder = t.folderPath + t.Current().name;
            ++componentIndex_;
            Enter(folder,
                  componentIndex_ < components_.size() ? components_[componentIndex_] : mask_);
            continue;
        }
        if (!recurse_)
            while (!t.Exhausted() && (t.Current().attributes & faDirectory))
                t.Advance();
        if (t.Exhausted()) continue;
        const DirEntry& entry = t.Current();
        if (entry.attributes & faDirectory) {
            const std::string folder = t.folderPath + entry.name + "/";
            Enter(folder, mask_);
            return folder;
        }
        // A name without an extension is tested as if it ended with ".", so "*.*" fits it.
        const bool dotless = entry.name.find('.') == std::string::npos;
        if (WildcardMatch(mask_, dotless ? entry.name + "." : entry.name)) {
            std::string path = t.folderPath + entry.name;
            if (record) *record = entry;
            t.Advance();
            return path;
        }
        t.Advance();
    }
    return std::string();
}

} // namespace folivane::zip
