// The cover made from the title on a thread of its own, so that the conversion never waits
// for it.
#pragma once

#include "BookInput.h"

#include "engine/cover/TitleCoverModule.h"
#include "engine/text/SideTask.h"

#include <future>
#include <optional>

namespace folivane::engine {

// Reads the installed fonts while the sources are read, and draws the picture as soon as its
// text is likely known (the user's title, once the first source's language is judged), else
// once the book's title is decided, while its pages are made: together as long as the rest of
// a 2 MB novel's reading takes, which the conversion would otherwise wait for.
class TitleCoverAside {
public:
    // Starts reading the fonts when `input` asks for a cover made from the title and gives no
    // picture; otherwise, or under a limit of the address space, does nothing (not Active).
    explicit TitleCoverAside(const BookInput& input);
    TitleCoverAside(const TitleCoverAside&) = delete;
    TitleCoverAside& operator=(const TitleCoverAside&) = delete;

    bool Active() const { return made_.has_value(); }

    // Has the picture of `likely` drawn ahead of the decision; Draw keeps it when its text is
    // the same. At most once, before Draw, when Active.
    void DrawLikely(TitleCoverText likely);

    // Has the picture of `text` drawn, or keeps the one drawn ahead when it is of `text`.
    // Once, when Active.
    void Draw(TitleCoverText text);

    // The picture, as MakeTitleCover(text) makes it: waits for it. Once, after Draw.
    TitleCover Get();

private:
    // The task ends when a text comes or can no longer come: the promises are given up first,
    // then the task waited for, in this order of destruction.
    std::optional<SideTask<TitleCover>> made_;
    std::promise<TitleCoverText> first_; // the likely text, else the decided one
    std::promise<TitleCoverText> decided_;
    bool firstGiven_ = false;
};

} // namespace folivane::engine
