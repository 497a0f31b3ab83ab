// The title cover module's entry: its one exported symbol, the table of its functions.
#include "TitleCoverModule.h"

#include <stdexcept>

namespace folivane::engine {
namespace {

CoverFonts* ReadFonts() {
    try {
        return new CoverFonts();
    } catch (const std::runtime_error&) {
        return nullptr; // MakeTitleCover reads them again and says why there is no cover
    }
}

void DropFonts(CoverFonts* fonts) {
    delete fonts;
}

TitleCover Make(const TitleCoverText& text, const CoverFonts* fonts) {
    return fonts != nullptr ? MakeTitleCover(text, *fonts) : MakeTitleCover(text);
}

constexpr TitleCoverFunctions kFunctions{ReadFonts, DropFonts, Make};

} // namespace
} // namespace folivane::engine

extern "C" __attribute__((visibility("default"))) const folivane::engine::TitleCoverFunctions*
folivane_title_cover_functions() {
    return &folivane::engine::kFunctions;
}
