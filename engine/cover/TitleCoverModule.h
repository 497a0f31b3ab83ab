// The cover made from the title, drawn by a module that is loaded when a cover is first drawn.
// fontconfig, FreeType and HarfBuzz, with GLib and the other libraries they bring, then load on
// the thread that draws the cover, beside the reading of the text, rather than before `main`
// in every program start: 2.5 ms, as long as zip takes to start and finish.
#pragma once

#include "TitleCover.h"

#include "platform/LoadedModule.h"

#include <memory>

namespace folivane::engine {

// What the module gives: a table of its functions, the same build's C++ on both sides.
struct TitleCoverFunctions {
    // Fonts read ahead, or nullptr when fontconfig cannot read its configuration.
    CoverFonts* (*readFonts)();
    void (*dropFonts)(CoverFonts* fonts);
    // MakeTitleCover(text, *fonts), or MakeTitleCover(text) when `fonts` is nullptr.
    TitleCover (*make)(const TitleCoverText& text, const CoverFonts* fonts);
};

// The module's one exported symbol: extern "C" const TitleCoverFunctions* NAME().
inline constexpr char kTitleCoverEntry[] = "folivane_title_cover_functions";

// The module loaded from beside the program (its path from the program's folder is fixed at
// build time; the build tree keeps the installed layout). One object per thread, or shared by
// threads that only call it.
class TitleCoverModule {
public:
    TitleCoverModule();
    // The module at `path` instead.
    explicit TitleCoverModule(const std::string& path);

    // Fonts read ahead for Make; null when there are none to read or no module.
    using Fonts = std::unique_ptr<CoverFonts, void (*)(CoverFonts*)>;
    Fonts ReadFonts() const;

    // The picture as MakeTitleCover makes it, with `fonts` when given; without the module, no
    // picture and a problem that names the module and why it did not load.
    TitleCover Make(const TitleCoverText& text, const CoverFonts* fonts = nullptr) const;

private:
    platform::LoadedModule module_;
    const TitleCoverFunctions* functions_ = nullptr;
    std::string problem_;
};

} // namespace folivane::engine
