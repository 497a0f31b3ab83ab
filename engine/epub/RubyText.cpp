// Markup for the notation's lines, escaped through the book's one XML escaper; the state of
// blocks and styles carried from line to line.
#include "RubyText.h"

#include "NotationStyle.h"
#include "XmlText.h"

#include "engine/chapters/Notation.h"
#include "engine/chapters/NotationLine.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace folivane::engine {
namespace {

struct OpenStyle {
    TextStyle style;
    bool left;
};

void OpenTag(std::string& out, const OpenStyle& open) {
    const StyleMarkup markup = MarkupOf(open.style);
    out += '<';
    out += markup.tag;
    if (!markup.name.empty() || open.left) {
        out += " class=\"";
        out += markup.name;
        if (open.left) {
            if (!markup.name.empty()) out += ' ';
            out += kLeftClass;
        }
        out += '"';
    }
    out += '>';
}

void CloseTag(std::string& out, const OpenStyle& open) {
    out += "</";
    out += MarkupOf(open.style).tag;
    out += '>';
}

void OpenAll(std::string& out, const std::vector<OpenStyle>& open) {
    for (const OpenStyle& style : open)
        OpenTag(out, style);
}

void CloseAll(std::string& out, const std::vector<OpenStyle>& open) {
    for (auto style = open.rbegin(); style != open.rend(); ++style)
        CloseTag(out, *style);
}

// Ends the latest open `style` of `open`; with `out`, closes the tags down to it and opens
// again those it held. False when none is open.
bool EndStyle(std::string* out, std::vector<OpenStyle>& open, TextStyle style) {
    const auto found = std::find_if(open.rbegin(), open.rend(),
                                    [&](const OpenStyle& o) { return o.style == style; });
    if (found == open.rend()) return false;
    const auto at = static_cast<std::size_t>(open.rend() - found) - 1;
    if (out)
        for (std::size_t i = open.size(); i-- > at;)
            CloseTag(*out, open[i]);
    open.erase(open.begin() + static_cast<std::ptrdiff_t>(at));
    if (out)
        for (std::size_t i = at; i < open.size(); ++i)
            OpenTag(*out, open[i]);
    return true;
}

bool IsAsciiGraphic(char c) {
    return c > ' ' && c < 0x7F;
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// `text` escaped; with `upright`, two half-width digits with no other ASCII character beside
// them as one upright cell, as vertical books set 12 in 12月.
void AppendShownText(std::string& out, std::string_view text, bool upright) {
    std::size_t from = 0;
    for (std::size_t i = 0; upright && i + 1 < text.size(); ++i) {
        if (!IsAsciiDigit(text[i]) || !IsAsciiDigit(text[i + 1])) continue;
        if ((i > 0 && IsAsciiGraphic(text[i - 1])) ||
            (i + 2 < text.size() && IsAsciiGraphic(text[i + 2]))) {
            ++i;
            continue;
        }
        AppendEscapedXmlText(out, text.substr(from, i - from));
        out += "<span class=\"";
        out += kUprightClass;
        out += "\">";
        out.append(text, i, 2);
        out += "</span>";
        from = i + 2;
        ++i;
    }
    AppendEscapedXmlText(out, text.substr(from));
}

void AppendSmall(std::string& out, std::string_view tag, std::string_view name,
                 std::string_view text) {
    out += '<';
    out += tag;
    out += " class=\"";
    out += name;
    out += "\">";
    AppendEscapedXmlText(out, text);
    out += "</";
    out += tag;
    out += '>';
}

bool IsZeroWidthMark(RunKind kind) {
    return kind == RunKind::StyleBegin || kind == RunKind::StyleEnd;
}

// Leaves out the white space that begins (`start`) and ends (`end`) what the runs show.
void Trim(std::vector<NotationRun>& runs, bool start, bool end) {
    for (auto run = runs.begin(); start && run != runs.end(); ++run) {
        if (IsZeroWidthMark(run->kind)) continue;
        if (run->kind != RunKind::Text) break;
        while (const std::size_t space = LeadingSpaceLength(run->text))
            run->text.erase(0, space);
        if (!run->text.empty()) break;
    }
    for (auto run = runs.rbegin(); end && run != runs.rend(); ++run) {
        if (IsZeroWidthMark(run->kind)) continue;
        if (run->kind != RunKind::Text) break;
        while (const std::size_t space = TrailingSpaceLength(run->text))
            run->text.resize(run->text.size() - space);
        if (!run->text.empty()) break;
    }
}

// Whether the runs show anything but white space.
bool ShowsAnything(const std::vector<NotationRun>& runs) {
    return std::ranges::any_of(runs, [](const NotationRun& run) {
        return !IsZeroWidthMark(run.kind) && run.kind != RunKind::AlignEnd &&
               (run.kind != RunKind::Text || !IsBlank(run.text));
    });
}

// What the styles of a line that shows nothing do to those open after it.
void FollowStyles(const std::vector<NotationRun>& runs, std::vector<OpenStyle>& open) {
    for (const NotationRun& run : runs) {
        if (run.kind == RunKind::StyleBegin) open.push_back({run.style, run.left});
        if (run.kind == RunKind::StyleEnd) EndStyle(nullptr, open, run.style);
    }
}

// The class a count names: "indent3".
void AddClass(std::string& classes, std::string_view name, unsigned count = 0) {
    if (!classes.empty()) classes += ' ';
    classes += name;
    if (count > 0) classes += std::to_string(std::min(count, kMaxIndent));
}

// Writes what the runs show inside the styles of `open`, which follows them. Where 地付き
// sets the rest of the line apart, the paragraph closes and one at the end opens.
void WriteRuns(std::string& out, const std::vector<NotationRun>& runs, EpubVersion version,
               std::vector<OpenStyle>& open) {
    const bool epub3 = version == EpubVersion::Epub3;
    for (const NotationRun& run : runs) {
        switch (run.kind) {
        case RunKind::Text: {
            const bool inUpright = std::ranges::any_of(
                open, [](const OpenStyle& o) { return o.style == TextStyle::Upright; });
            AppendShownText(out, run.text, epub3 && !inUpright);
            break;
        }
        case RunKind::Bar:
            AppendEscapedXmlText(out, run.text);
            break;
        case RunKind::Note:
            AppendSmall(out, "span", kNoteClass, run.text);
            break;
        case RunKind::Kaeriten:
            AppendSmall(out, "sub", kKaeritenClass, run.text);
            break;
        case RunKind::Okurigana:
            AppendSmall(out, "sup", kOkuriganaClass, run.text);
            break;
        case RunKind::RubyBegin:
            if (epub3) out += "<ruby>";
            break;
        case RunKind::RubyEnd:
            out += epub3 ? "<rt>" : "（";
            AppendEscapedXmlText(out, run.text);
            out += epub3 ? "</rt></ruby>" : "）";
            break;
        case RunKind::StyleBegin:
            open.push_back({run.style, run.left});
            OpenTag(out, open.back());
            break;
        case RunKind::StyleEnd:
            EndStyle(&out, open, run.style);
            break;
        case RunKind::AlignEnd:
            CloseAll(out, open);
            out += "</p><p class=\"";
            if (run.amount == 0) {
                out += kEndClass;
            } else {
                out += kRaiseClass;
                out += std::to_string(std::min(run.amount, kMaxIndent));
            }
            out += "\">";
            OpenAll(out, open);
            break;
        }
    }
}

// The blocks a text's lines are in, and the styles open from line to line.
struct Blocks {
    std::optional<std::pair<unsigned, unsigned>> indent; // first line, wrapped lines
    std::optional<unsigned> alignEnd;
    unsigned heading = 0;
    std::size_t headingLines = 0; // lines of text in the heading block so far
    std::vector<OpenStyle> open;

    void Follow(const Annotation& block, bool starts, bool ends) {
        switch (block.kind) {
        case AnnotationKind::BlockIndent:
            if (starts) indent = std::pair{block.first, block.rest};
            break;
        case AnnotationKind::BlockIndentEnd:
            if (ends) indent.reset();
            break;
        case AnnotationKind::BlockAlignEnd:
            if (starts) alignEnd = block.first;
            break;
        case AnnotationKind::BlockAlignEndEnd:
            if (ends) alignEnd.reset();
            break;
        case AnnotationKind::BlockHeading:
            if (starts) {
                heading = block.level;
                headingLines = 0;
            }
            break;
        case AnnotationKind::BlockHeadingEnd:
            if (ends) heading = 0;
            break;
        default:
            break;
        }
    }
};

// One line of a page as a paragraph or heading; false when it shows nothing.
bool AppendLine(std::string& out, NotationLine& line, EpubVersion version, Blocks& blocks) {
    if (!ShowsAnything(line.runs)) {
        for (const Annotation& block : line.blocks)
            blocks.Follow(block, true, true);
        FollowStyles(line.runs, blocks.open);
        return false;
    }
    // A block begun on a line of text holds it; one ended there holds it too.
    for (const Annotation& block : line.blocks)
        blocks.Follow(block, true, false);
    // A heading block that does not close within kLongestHeadingBlock lines ends there.
    if (blocks.heading != 0 && ++blocks.headingLines > kLongestHeadingBlock) blocks.heading = 0;
    const unsigned heading = line.heading != 0 ? line.heading : blocks.heading;
    std::string classes;
    const char tag[] = {'h', static_cast<char>('0' + std::min(heading, 3u)), '\0'};
    if (heading != 0) {
        Trim(line.runs, true, true);
        std::erase_if(line.runs,
                      [](const NotationRun& run) { return run.kind == RunKind::AlignEnd; });
        out += '<';
        out += tag;
        out += '>';
    } else {
        const auto indent =
            line.indent ? std::optional(std::pair{*line.indent, *line.indent}) : blocks.indent;
        const auto alignEnd = line.alignEnd ? line.alignEnd : blocks.alignEnd;
        if (indent && (indent->first > 0 || indent->second > 0)) {
            const auto [first, rest] = *indent;
            if (rest > 0) AddClass(classes, kIndentClass, rest);
            if (first < rest) AddClass(classes, kHangClass, rest - first);
            if (first > rest) AddClass(classes, kLeadClass, first - rest);
        }
        if (alignEnd) AddClass(classes, *alignEnd == 0 ? kEndClass : kRaiseClass, *alignEnd);
        // An indented line keeps the spaces it was typed with: the indent adds to them.
        Trim(line.runs, !indent.has_value() || alignEnd.has_value(), alignEnd.has_value());
        out += classes.empty() ? "<p>" : "<p class=\"" + classes + "\">";
    }
    OpenAll(out, blocks.open);
    WriteRuns(out, line.runs, version, blocks.open);
    CloseAll(out, blocks.open);
    if (heading != 0) {
        out += "</";
        out += tag;
        out += '>';
    } else {
        out += "</p>";
    }
    for (const Annotation& block : line.blocks)
        blocks.Follow(block, false, true);
    return true;
}

} // namespace

bool AppendRubyText(std::string& out, std::string_view line, EpubVersion version, bool trimEnd) {
    NotationLine read;
    ReadNotationLine(line, read);
    std::erase_if(read.runs, [](const NotationRun& run) { return run.kind == RunKind::AlignEnd; });
    Trim(read.runs, true, trimEnd);
    std::vector<OpenStyle> open;
    WriteRuns(out, read.runs, version, open);
    CloseAll(out, open);
    return ShowsAnything(read.runs) || !read.annotated;
}

void AppendRubyParagraphs(std::string& out, std::string_view text, EpubVersion version) {
    NotationLine line;
    Blocks blocks;
    bool any = false;
    for (std::size_t begin = 0; begin < text.size();) {
        const LineSpan span = LineAt(text, begin);
        // Blank lines are spacing, as in every other text: they make no paragraph.
        if (!IsBlank(span.In(text))) {
            ReadNotationLine(span.In(text), line);
            any = AppendLine(out, line, version, blocks) || any;
        }
        if (span.end == text.size()) break;
        begin = span.next;
    }
    if (!any) out += "<p></p>";
}

void AppendRubyHeading(std::string& out, std::string_view heading, EpubVersion version) {
    NotationLine line;
    bool first = true;
    for (std::size_t begin = 0; begin < heading.size();) {
        const LineSpan span = LineAt(heading, begin);
        ReadNotationLine(span.In(heading), line);
        std::erase_if(line.runs,
                      [](const NotationRun& run) { return run.kind == RunKind::AlignEnd; });
        Trim(line.runs, true, true);
        if (ShowsAnything(line.runs)) {
            if (!first) out += "<br/>";
            first = false;
            std::vector<OpenStyle> open;
            WriteRuns(out, line.runs, version, open);
            CloseAll(out, open);
        }
        if (span.end == heading.size()) break;
        begin = span.next;
    }
}

} // namespace folivane::engine
