// What the chapter and notation rules decided about a text that its reader should know.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace folivane::engine {

// A fact, not a sentence: each front end says it in its user's language. The command line
// prints it on standard error; the window shows it in the contents preview.
struct TextNotice {
    enum class Kind {
        NumberMissing,            // headings numbered in sequence skip `number`
        NumberRepeated,           // `number` heads two chapters of a sequence
        AnnotationsNotUnderstood, // `count` annotations left out; `examples` holds the first
        BytesNotDecoded,          // `count` bytes are no characters of `encoding`: each is U+FFFD
    };
    Kind kind;
    std::size_t source = 0; // index of the source in the book
    long number = 0;
    std::size_t count = 0;
    std::vector<std::string> examples = {};
    std::string encoding = {}; // BytesNotDecoded: the code page the source was read in
};

// The number of notice kinds, for the tests that walk them.
constexpr std::size_t kTextNoticeKinds =
    static_cast<std::size_t>(TextNotice::Kind::BytesNotDecoded) + 1;

// `notice` in English, as the command line prints it after the source's name: "chapter 7
// missing", "3 annotations not understood: ［＃a］, ［＃b］". The window says it through tr().
std::string NoticeText(const TextNotice& notice);

} // namespace folivane::engine
