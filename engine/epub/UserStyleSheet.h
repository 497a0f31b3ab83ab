// The user's own style sheet, added to the book after the book's, with the files it names.
#pragma once

#include "BookLayout.h"

#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// A font or picture that the user's style sheet names, as the book carries it.
struct StyleResource {
    std::string href;  // its name in the book's content folder: "css/files/serif.ttf"
    std::string kind;  // its type's file extension: ttf, otf, woff, woff2, png, jpeg, gif, svg
    std::string bytes; // the whole file
};

struct UserStyleSheet {
    std::string css; // its rules, each url() naming the book's copy of the file
    std::vector<StyleResource> resources;
};

// The style sheet at `path`: a readable regular file of UTF-8 text (a mark at its start is
// dropped) of at most 1 MiB. The files its url()s name, relative to its folder (or by an
// absolute path), come into the book when they are fonts or pictures a book may hold (by
// their extension, and their content agreeing) of at most 64 MiB, each once, under
// "css/files/" and their own name made safe for a link; url()s of data and of fragments stay.
// Raises ConversionError naming the style sheet and what is wrong: a file that is missing,
// not a font or picture, or larger; a resource on the network (a URL with a scheme, or
// beginning "//"); an @import, since a book holds one style sheet of the user's; text that
// is not UTF-8, holds NUL bytes, or is empty.
UserStyleSheet ReadUserStyleSheet(const std::string& path);

// The media type the book's package gives `resource` in `version`.
std::string_view StyleResourceMediaType(const StyleResource& resource, EpubVersion version);

} // namespace folivane::engine
