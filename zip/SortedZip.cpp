// Ordering and duplicate detection of entry lists.
#include "SortedZip.h"

#include "ZipErrors.h"

namespace folivane::zip {
namespace {

unsigned char Upper(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 'a' + 'A') : b;
}

// Directory followed by FileName, compared without building the joined string.
int CompareNames(const TZipHeaderInfo& a, const TZipHeaderInfo& b) {
    const std::string* aParts[] = {&a.Directory(), &a.FileName()};
    const std::string* bParts[] = {&b.Directory(), &b.FileName()};
    std::size_t ap = 0, ai = 0, bp = 0, bi = 0;
    while (true) {
        while (ap < 2 && ai >= aParts[ap]->size()) {
            ++ap;
            ai = 0;
        }
        while (bp < 2 && bi >= bParts[bp]->size()) {
            ++bp;
            bi = 0;
        }
        if (ap == 2 || bp == 2) return (ap == 2 ? 0 : 1) - (bp == 2 ? 0 : 1);
        const unsigned char x = Upper((*aParts[ap])[ai++]);
        const unsigned char y = Upper((*bParts[bp])[bi++]);
        if (x != y) return x < y ? -1 : 1;
    }
}

} // namespace

int TSortedZip::Compare(const TZipHeaderInfo& a, const TZipHeaderInfo& b) const {
    if (mode_ == ByName) return CompareNames(a, b);
    if (a.DiskStart != b.DiskStart) return a.DiskStart < b.DiskStart ? -1 : 1;
    if (a.LocalHeaderOffset != b.LocalHeaderOffset)
        return a.LocalHeaderOffset < b.LocalHeaderOffset ? -1 : 1;
    return 0;
}

bool TSortedZip::Find(const TZipHeaderInfo& key, std::size_t& index) const {
    std::size_t low = 0;
    std::size_t high = items_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int c = Compare(*items_[middle], key);
        if (c == 0) {
            index = middle;
            return true;
        }
        if (c < 0)
            low = middle + 1;
        else
            high = middle;
    }
    index = low;
    return false;
}

void TSortedZip::Add(HeaderPtr header) {
    std::size_t index = 0;
    if (Find(*header, index)) throw EListError();
    if (header->Zip64Info) hasZip64_ = true;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(header));
}

} // namespace folivane::zip
