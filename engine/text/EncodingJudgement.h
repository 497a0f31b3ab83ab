// The encoding a source is read as, and what decided it.
#pragma once

#include <functional>
#include <string>

namespace folivane::engine {

enum class EncodingBasis {
    Mark,   // its byte-order mark
    Chosen, // the user named it, for this source or for the book
    Text,   // its own text: UTF-8, UTF-16, or a code page judged from enough of it
    Book,   // too short or too unclear to judge alone: the code page of the book's other sources
    Locale, // the same, with no other source to tell: the code page of the user's locale
    Guess,  // the same, and the locale's code page cannot read it: a guess
};

struct EncodingJudgement {
    std::string encoding; // an iconv name
    EncodingBasis basis = EncodingBasis::Text;

    bool operator==(const EncodingJudgement&) const = default;
};

// Asked for the code page of the book's other sources, only when a source's own text is too
// short or too unclear to decide; empty when there is none.
using BookCodePageQuery = std::function<std::string()>;

// Whether the source's text alone did not decide, so that the user is told how it was read.
constexpr bool JudgedWithoutItsText(EncodingBasis basis) {
    return basis == EncodingBasis::Book || basis == EncodingBasis::Locale ||
           basis == EncodingBasis::Guess;
}

} // namespace folivane::engine
