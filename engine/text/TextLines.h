// Lines of text: where each begins and ends, whatever its line end.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace folivane::engine {

// The length of the line end at `at`: 2 for CR LF, 1 for a lone CR or LF, 0 for any other
// byte or the end of the text. LF CR is two line ends.
constexpr std::size_t LineEndLength(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    if (text[at] == '\r') return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
    return text[at] == '\n' ? 1 : 0;
}

// A line: its first byte, the byte after its last one (before its line end), and where the
// next line begins (the text's end after the last line).
struct LineSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;

    std::string_view In(std::string_view text) const { return text.substr(begin, end - begin); }
};

// The line that begins at `begin` in text[0, limit). A line ends at CR LF, LF or a lone CR.
inline LineSpan LineAt(std::string_view text, std::size_t begin,
                       std::size_t limit = std::string_view::npos) {
    if (limit > text.size()) limit = text.size();
    const char* start = text.data() + begin;
    // Text has far more LF than CR: look for the LF first, then for a CR before it only.
    const auto* lf = static_cast<const char*>(std::memchr(start, '\n', limit - begin));
    const std::size_t lfAt = lf ? static_cast<std::size_t>(lf - text.data()) : limit;
    const auto* cr = static_cast<const char*>(std::memchr(start, '\r', lfAt - begin));
    const std::size_t end = cr ? static_cast<std::size_t>(cr - text.data()) : lfAt;
    std::size_t next = end;
    if (next < limit) next += LineEndLength(text.substr(0, limit), next);
    return {begin, end, next};
}

// The lines of a text, for a range-for: an empty text has none, a text that does not end
// in a line end has its last line all the same.
class TextLines {
public:
    explicit TextLines(std::string_view text) : text_(text) {}

    class Iterator {
    public:
        Iterator(std::string_view text, std::size_t at) : text_(text), line_(Read(text, at)) {}
        const LineSpan& operator*() const { return line_; }
        Iterator& operator++() {
            line_ = Read(text_, line_.next);
            return *this;
        }
        bool operator!=(const Iterator& other) const { return line_.begin != other.line_.begin; }

    private:
        static LineSpan Read(std::string_view text, std::size_t at) {
            return at < text.size() ? LineAt(text, at)
                                    : LineSpan{text.size(), text.size(), text.size()};
        }
        std::string_view text_;
        LineSpan line_;
    };

    Iterator begin() const { return Iterator(text_, 0); }
    Iterator end() const { return Iterator(text_, text_.size()); }

private:
    std::string_view text_;
};

} // namespace folivane::engine
