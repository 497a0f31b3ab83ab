// Archive start and end lines, and the title and author of a text's header or file name.
#include "TextSections.h"

#include "engine/text/AsciiText.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/SourceText.h"
#include "engine/text/TextLines.h"
#include "engine/text/UnicodeText.h"
#include "engine/text/WhiteSpace.h"

namespace folivane::engine {
namespace {

// The header ends within this many lines, where archives and novel sites put it.
constexpr std::size_t kHeaderLines = 60;
// Sixty lines of even long paragraphs fit.
constexpr std::size_t kHeaderBytes = 64 << 10;

// Whether `line` is an archive's "*** START OF THE PROJECT GUTENBERG EBOOK ..." line (or END;
// THIS for THE, E-BOOK for EBOOK as older texts have them), in any letter case, with any space
// after the stars. A novel's own "*** Start of the journey ***" is text.
bool IsMarkerLine(std::string_view line, std::string_view word) {
    line = TrimSpace(line);
    if (!line.starts_with("***")) return false;
    line.remove_prefix(3);
    line = TrimSpace(line);
    const auto take = [&line](std::string_view expected) {
        if (line.size() < expected.size() ||
            !EqualsIgnoringAsciiCase(line.substr(0, expected.size()), expected))
            return false;
        line.remove_prefix(expected.size());
        return true;
    };
    return take(word) && take(" of ") && (take("the ") || take("this ")) &&
           take("project gutenberg ") && (take("ebook") || take("e-book"));
}

// The value of "Label: value" or "标签：value" when `line` begins with one of `labels`.
bool TakeLabelled(std::string_view line, std::initializer_list<std::string_view> labels,
                  std::string& value) {
    line = TrimSpace(line);
    for (const std::string_view label : labels) {
        if (line.size() > label.size() &&
            EqualsIgnoringAsciiCase(line.substr(0, label.size()), label)) {
            value = std::string(TrimSpace(line.substr(label.size())));
            return !value.empty();
        }
    }
    return false;
}

// "《书名》" at the start of `text`: the name between the brackets, and what follows.
bool TakeBracketedTitle(std::string_view text, std::string& title, std::string_view& rest) {
    constexpr std::string_view kOpen = "\xE3\x80\x8A";  // 《
    constexpr std::string_view kClose = "\xE3\x80\x8B"; // 》
    text = TrimSpace(text);
    if (!text.starts_with(kOpen)) return false;
    const std::size_t close = text.find(kClose);
    if (close == std::string_view::npos) return false;
    title = std::string(TrimSpace(text.substr(kOpen.size(), close - kOpen.size())));
    rest = TrimSpace(text.substr(close + kClose.size()));
    return !title.empty();
}

constexpr std::string_view kAuthorLabels[] = {"Author:", "\xE4\xBD\x9C\xE8\x80\x85\xEF\xBC\x9A",
                                              "\xE4\xBD\x9C\xE8\x80\x85:"}; // 作者： 作者:

bool TakeAuthor(std::string_view line, std::string& author) {
    return TakeLabelled(line, {kAuthorLabels[0], kAuthorLabels[1], kAuthorLabels[2]}, author);
}

// The marker line without its stars and the white space around them.
std::string_view MarkerName(std::string_view line) {
    while (!line.empty() && (line.front() == '*' || LeadingSpaceLength(line)))
        line.remove_prefix(line.front() == '*' ? 1 : LeadingSpaceLength(line));
    while (!line.empty() && (line.back() == '*' || TrailingSpaceLength(line)))
        line.remove_suffix(line.back() == '*' ? 1 : TrailingSpaceLength(line));
    return line;
}

// A page's name from a line of any length: as long as a line of an archive's header may be.
constexpr std::size_t kMaxNameCharacters = 80;

// The first line of text[0, end) that is not blank, as a page's name.
std::string FirstLineName(std::string_view text, std::size_t end) {
    for (const LineSpan& span : TextLines(text.substr(0, end))) {
        std::string_view line = MarkerName(span.In(text));
        if (IsBlank(line)) continue;
        std::size_t at = 0;
        for (std::size_t count = 0; at < line.size() && count < kMaxNameCharacters; ++count)
            at += NextUtf8Sequence(line.substr(at)).length;
        if (at < line.size())
            return std::string(TrimSpace(line.substr(0, at))) + "\xE2\x80\xA6"; // …
        return std::string(line);
    }
    return std::string();
}

} // namespace

TextSections FindTextSections(std::string_view text) {
    TextSections sections{0, text.size(), {}, {}};
    // Archives put the start line in the header, before the text's first half ends, and the
    // end line after the body, in its second half unless a start line came before it.
    const std::size_t half = text.size() / 2;
    for (std::size_t at = text.find("***"); at != std::string_view::npos;) {
        const std::size_t lineStart = at == 0 ? 0 : text.find_last_of("\r\n", at - 1) + 1;
        const LineSpan line = LineAt(text, lineStart);
        if (IsBlank(text.substr(lineStart, at - lineStart))) {
            if (sections.bodyBegin == 0 && lineStart < half &&
                IsMarkerLine(line.In(text), "start")) {
                sections.bodyBegin = line.next;
                sections.headerName = FirstLineName(text, line.next);
            } else if ((sections.bodyBegin > 0 || lineStart >= half) &&
                       IsMarkerLine(line.In(text), "end")) {
                sections.bodyEnd = line.begin;
                sections.endName = std::string(MarkerName(line.In(text)));
                break;
            }
        }
        at = text.find("***", line.next);
    }
    return sections;
}

TitleAndAuthor TitleAndAuthorOf(std::string_view text, std::string_view sourcePath) {
    TitleAndAuthor found;
    std::size_t count = 0;
    for (const LineSpan& span : TextLines(text)) {
        const std::string_view line = span.In(text);
        if (++count > kHeaderLines || IsMarkerLine(line, "start")) break;
        if (IsBlank(line)) continue;
        std::string_view rest;
        if (found.title.empty() && count <= 2 && TakeBracketedTitle(line, found.title, rest)) {
            if (found.author.empty()) TakeAuthor(rest, found.author);
            continue;
        }
        if (found.title.empty())
            TakeLabelled(line,
                         {"Title:", "\xE4\xB9\xA6\xE5\x90\x8D\xEF\xBC\x9A",
                          "\xE4\xB9\xA6\xE5\x90\x8D:", "\xE6\x9B\xB8\xE5\x90\x8D\xEF\xBC\x9A",
                          "\xE6\x9B\xB8\xE5\x90\x8D:"}, // 书名： 书名: 書名： 書名:
                         found.title);
        if (found.author.empty()) TakeAuthor(line, found.author);
        if (!found.title.empty() && !found.author.empty()) return found;
    }
    if (sourcePath.empty()) return found;
    // "《书名》作者：X", "书名 作者：X", or the name alone.
    const std::string name = GetFileNameFromPath(std::string(sourcePath), false);
    std::string title;
    std::string author;
    std::string_view rest;
    if (TakeBracketedTitle(name, title, rest)) {
        TakeAuthor(rest, author);
    } else {
        const std::string_view whole = name;
        std::size_t label = std::string_view::npos;
        for (const std::string_view candidate : kAuthorLabels)
            label = std::min(label, whole.find(candidate));
        title = std::string(TrimSpace(whole.substr(0, label)));
        if (label != std::string_view::npos) TakeAuthor(whole.substr(label), author);
    }
    if (found.title.empty()) found.title = title;
    if (found.author.empty()) found.author = author;
    return found;
}

TitleAndAuthor TitleAndAuthorOfSource(const std::string& path, const std::string& legacyEncoding) {
    std::string text;
    try {
        SourceBytes source = ReadSourceBytes(path);
        if (source.body.size() > kHeaderBytes) source.body.resize(kHeaderBytes);
        text = DecodeSource(std::move(source), legacyEncoding);
    } catch (const std::exception&) {
        // The conversion says why it cannot be read; its name still tells the title.
    }
    return TitleAndAuthorOf(text, path);
}

} // namespace folivane::engine
