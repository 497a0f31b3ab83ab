// What a text's header or colophon says of the book beyond its title and author.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

struct HeaderFacts {
    std::string date;       // as IsBookDate takes it; empty: none named
    std::string translator; // UTF-8, trimmed
    std::string language;   // a BCP 47 tag
};

// The facts an archive's header names in its first 60 lines, before a "*** START OF" line:
// "Release date:" (or "Release Date:", "Posting Date:"), "Translator:" (also "Translated by",
// "译者：", "譯者：", "翻訳："), "Language:" as LanguageTagOfName reads it. Each the first
// of its kind; a date in a form BookDateOf does not read is left out.
HeaderFacts HeaderFactsOf(std::string_view text);

// The facts a Japanese archive text names: the translator in a line of its opening that ends
// in 訳 ("楠山正雄訳") among its first six that are not blank, and the date its colophon
// (`colophon`, from 底本：) gives the file in a line with 作成 ("2004年1月5日作成").
// Annotations and ruby are read as plain text.
HeaderFacts NotationFactsOf(std::string_view opening, std::string_view colophon);

} // namespace folivane::engine
