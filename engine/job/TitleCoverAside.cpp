// Fonts first, then the text: one thread for both.
#include "TitleCoverAside.h"

#include "platform/Memory.h"

#include <utility>

namespace folivane::engine {

TitleCoverAside::TitleCoverAside(const BookInput& input) {
    // Under a limit of its address space a thread's stack and heap come out of the limit, and
    // fontconfig has been seen to crash running out while it reads its configuration beside
    // a conversion: there the cover is made as the book is decided, with nothing beside it.
    if (!input.coverPath.empty() || !input.titleCover || platform::AddressSpaceLimited()) return;
    made_.emplace(
        [first = first_.get_future().share(), decided = decided_.get_future().share()] {
            // The drawing's memory (the faces, the shaping, the picture's stream) took some
            // 250 faults of fresh 4 KiB pages a cover.
            platform::PreferHugePagesForThreadHeap(std::size_t{6} << 20);
            // The drawing's libraries load here, beside the reading.
            const TitleCoverModule module;
            const TitleCoverModule::Fonts fonts = module.ReadFonts();
            const auto make = [&module, &fonts](const TitleCoverText& text) {
                return module.Make(text, fonts.get());
            };
            const TitleCoverText& drawn = first.get();
            TitleCover cover = make(drawn);
            const TitleCoverText& wanted = decided.get();
            return wanted == drawn ? std::move(cover) : make(wanted);
        },
        true);
}

void TitleCoverAside::DrawLikely(TitleCoverText likely) {
    if (firstGiven_) return;
    firstGiven_ = true;
    first_.set_value(std::move(likely));
}

void TitleCoverAside::Draw(TitleCoverText text) {
    if (!firstGiven_) {
        firstGiven_ = true;
        first_.set_value(text);
    }
    decided_.set_value(std::move(text));
}

TitleCover TitleCoverAside::Get() {
    return made_->Get();
}

} // namespace folivane::engine
