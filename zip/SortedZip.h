// Entry lists kept in order by name or by position in the archive, refusing duplicates.
#pragma once

#include "ZipHeaderInfo.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace folivane::zip {

enum TZipSortMode {
    ByName, // Directory and FileName, letters A to Z equal to a to z
    ByNone, // DiskStart, then LocalHeaderOffset: the order of the entries in the archive
};

using HeaderPtr = std::shared_ptr<TZipHeaderInfo>;

// Headers are shared, so one header may sit in an index by name and in the entry list.
class TSortedZip {
public:
    explicit TSortedZip(TZipSortMode mode) : mode_(mode) {}

    // Binary search: true when an equal header exists; `index` is where the key belongs
    // (the equal header's index when there is one).
    bool Find(const TZipHeaderInfo& key, std::size_t& index) const;
    // Inserts in order; raises EListError "Duplicate Object index" on an equal header.
    void Add(HeaderPtr header);

    std::size_t Count() const { return items_.size(); }
    const HeaderPtr& operator[](std::size_t index) const { return items_[index]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    void Reserve(std::size_t capacity) { items_.reserve(capacity); }
    void Clear() { items_.clear(); }
    bool HasZip64() const { return hasZip64_; }
    TZipSortMode Mode() const { return mode_; }

private:
    int Compare(const TZipHeaderInfo& a, const TZipHeaderInfo& b) const;

    TZipSortMode mode_;
    std::vector<HeaderPtr> items_;
    bool hasZip64_ = false;
};

} // namespace folivane::zip
