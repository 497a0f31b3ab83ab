// The command line's options for the book's details and its cover made from the title.
#pragma once

#include "engine/job/BookInput.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace folivane::cli {

// The options as given, before any is checked.
struct GivenDetails {
    std::optional<std::string> description, series, seriesIndex, identifier, translator, date,
        rights;
    std::vector<std::string> subjects, contributors; // repeatable
    bool noCover = false;
};

// Reads `argument` (without an inline "=value", which comes as `inlineValue`) when it is one
// of these options, taking its value from `arguments` after `i` (moving `i`) when not inline.
// nullopt: not one of these; an empty string: taken; else the usage error.
std::optional<std::string> ReadDetailOption(const std::string& argument,
                                            const std::optional<std::string>& inlineValue,
                                            const std::vector<std::string>& arguments,
                                            std::size_t& i, GivenDetails& given);

// Checks what was given and puts it into `book` (details and titleCover); a usage error, or
// empty. A description "@FILE" is read from the UTF-8 file FILE.
std::string ApplyDetails(const GivenDetails& given, engine::BookInput& book);

// The lines of the help text for these options.
std::string DetailsUsageText();

} // namespace folivane::cli
