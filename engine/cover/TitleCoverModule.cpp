// Finding and loading the title cover's module.
#include "TitleCoverModule.h"

namespace folivane::engine {
namespace {

std::string ModulePath() {
    return platform::ProgramFolder() + "/" FOLIVANE_TITLE_COVER_MODULE;
}

void DropNothing(CoverFonts*) {}

} // namespace

TitleCoverModule::TitleCoverModule() : TitleCoverModule(ModulePath()) {}

TitleCoverModule::TitleCoverModule(const std::string& path) : module_(path) {
    functions_ = module_.Entry<TitleCoverFunctions>(kTitleCoverEntry);
    if (functions_ == nullptr)
        problem_ = "No cover was made from the title: its module did not load (" +
                   (module_.Loaded() ? path + " lacks " + kTitleCoverEntry : module_.Problem()) +
                   ")";
}

TitleCoverModule::Fonts TitleCoverModule::ReadFonts() const {
    if (functions_ == nullptr) return Fonts(nullptr, DropNothing);
    return Fonts(functions_->readFonts(), functions_->dropFonts);
}

TitleCover TitleCoverModule::Make(const TitleCoverText& text, const CoverFonts* fonts) const {
    if (functions_ != nullptr) return functions_->make(text, fonts);
    TitleCover none;
    none.problem = problem_;
    return none;
}

} // namespace folivane::engine
