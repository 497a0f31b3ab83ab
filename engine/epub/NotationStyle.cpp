// The notation's look: emphasis dots and lines beside the characters, indents and alignment
// along the line, small kanbun marks, upright digits in vertical lines.
#include "NotationStyle.h"

namespace folivane::engine {
namespace {

// The text-emphasis-style of each kind of dots; empty for the kinds that are no dots.
std::string_view EmphasisOf(TextStyle style) {
    switch (style) {
    case TextStyle::Sesame:
        return "filled sesame";
    case TextStyle::WhiteSesame:
        return "open sesame";
    case TextStyle::Dot:
        return "filled circle";
    case TextStyle::WhiteDot:
        return "open circle";
    case TextStyle::Triangle:
        return "filled triangle";
    case TextStyle::WhiteTriangle:
        return "open triangle";
    case TextStyle::DoubleCircle:
        return "filled double-circle";
    case TextStyle::Bullseye:
        return "open double-circle";
    case TextStyle::Cross:
        return "\"\\d7\""; // ×, escaped: the sheet declares no encoding
    default:
        return {};
    }
}

// The text-decoration-style of each kind of line; empty for the kinds that are no lines.
std::string_view LineOf(TextStyle style) {
    switch (style) {
    case TextStyle::Line:
        return "solid";
    case TextStyle::DoubleLine:
        return "double";
    case TextStyle::ChainLine:
    case TextStyle::DashedLine:
        return "dashed";
    case TextStyle::DottedLine:
        return "dotted";
    case TextStyle::WavyLine:
        return "wavy";
    default:
        return {};
    }
}

constexpr TextStyle kMarkedStyles[] = {
    TextStyle::Sesame,     TextStyle::WhiteSesame,   TextStyle::Dot,          TextStyle::WhiteDot,
    TextStyle::Triangle,   TextStyle::WhiteTriangle, TextStyle::DoubleCircle, TextStyle::Bullseye,
    TextStyle::Cross,      TextStyle::Line,          TextStyle::DoubleLine,   TextStyle::ChainLine,
    TextStyle::DashedLine, TextStyle::DottedLine,    TextStyle::WavyLine,
};

// `property:value;` with the prefixes of readers on older engines before it.
void Prefixed(std::string& css, std::string_view property, std::string_view value,
              bool epubPrefix) {
    const auto declare = [&](std::string_view prefix) {
        css += prefix;
        css += property;
        css += ':';
        css += value;
        css += ';';
    };
    if (epubPrefix) declare("-epub-");
    declare("-webkit-");
    declare("");
}

void Rule(std::string& css, std::string_view selector, std::string_view body) {
    css += selector;
    css += '{';
    css += body;
    css += '}';
}

// One rule for each count from 1 to kMaxIndent: selector+N{before N em; after}.
void NumberedRules(std::string& css, std::string_view selector, std::string_view before,
                   std::string_view after) {
    for (unsigned n = 1; n <= kMaxIndent; ++n) {
        const std::string count = std::to_string(n);
        std::string body(before);
        body += count;
        body += "em;";
        body += after;
        Rule(css, std::string(selector) + count, body);
    }
}

} // namespace

StyleMarkup MarkupOf(TextStyle style) {
    switch (style) {
    case TextStyle::Bold:
        return {"b", {}};
    case TextStyle::Italic:
        return {"i", {}};
    case TextStyle::Upright:
        return {"span", kUprightClass};
    case TextStyle::Superscript:
        return {"sup", {}};
    case TextStyle::Subscript:
        return {"sub", {}};
    case TextStyle::Sesame:
        return {"em", "sesame"};
    case TextStyle::WhiteSesame:
        return {"em", "white-sesame"};
    case TextStyle::Dot:
        return {"em", "dot"};
    case TextStyle::WhiteDot:
        return {"em", "white-dot"};
    case TextStyle::Triangle:
        return {"em", "triangle"};
    case TextStyle::WhiteTriangle:
        return {"em", "white-triangle"};
    case TextStyle::DoubleCircle:
        return {"em", "double-circle"};
    case TextStyle::Bullseye:
        return {"em", "bullseye"};
    case TextStyle::Cross:
        return {"em", "cross"};
    case TextStyle::Line:
        return {"em", "line"};
    case TextStyle::DoubleLine:
        return {"em", "double-line"};
    case TextStyle::ChainLine:
        return {"em", "chain-line"};
    case TextStyle::DashedLine:
        return {"em", "dashed-line"};
    case TextStyle::DottedLine:
        return {"em", "dotted-line"};
    case TextStyle::WavyLine:
        return {"em", "wavy-line"};
    }
    return {"span", {}};
}

std::string NotationStyleSheet(EpubVersion version, bool vertical) {
    const bool epub3 = version == EpubVersion::Epub3;
    std::string css;
    for (const TextStyle style : kMarkedStyles) {
        const std::string selector = "em." + std::string(MarkupOf(style).name);
        std::string body = "font-style:normal;";
        if (const std::string_view dots = EmphasisOf(style); !dots.empty()) {
            // EPUB 2 readers know no emphasis dots: the words stand out in bold instead.
            if (epub3)
                Prefixed(body, "text-emphasis-style", dots, true);
            else
                body += "font-weight:bold;";
        } else {
            body += "text-decoration:underline;";
            if (epub3) Prefixed(body, "text-decoration-style", LineOf(style), false);
            // The line stands on the right of vertical lines, as dots do.
            if (vertical) Prefixed(body, "text-underline-position", "right", false);
        }
        Rule(css, selector, body);
    }
    if (epub3) {
        std::string left;
        Prefixed(left, "text-emphasis-position", vertical ? "over left" : "under left", true);
        if (vertical) Prefixed(left, "text-underline-position", "left", false);
        Rule(css, "em." + std::string(kLeftClass), left);
    }
    if (vertical && epub3) {
        std::string upright;
        Prefixed(upright, "text-combine", "horizontal", true);
        upright += "text-combine-upright:all;";
        Rule(css, "span." + std::string(kUprightClass), upright);
    }
    Rule(css, "span." + std::string(kNoteClass), "font-size:0.75em;");
    Rule(css, "sub." + std::string(kKaeritenClass), "font-size:0.6em;");
    Rule(css, "sup." + std::string(kOkuriganaClass), "font-size:0.6em;");
    Rule(css, "h3", "margin:1em 0;");
    // Along the line: from its start and to its end, the top and bottom of vertical lines.
    const std::string start = vertical ? "margin-top:" : "margin-left:";
    const std::string end = vertical ? "margin-bottom:" : "margin-right:";
    NumberedRules(css, "p." + std::string(kIndentClass), start, "text-indent:0;");
    NumberedRules(css, "p." + std::string(kHangClass), "text-indent:-", "");
    NumberedRules(css, "p." + std::string(kLeadClass), "text-indent:", "");
    Rule(css, "p." + std::string(kEndClass), "text-align:right;text-indent:0;");
    NumberedRules(css, "p." + std::string(kRaiseClass), end, "text-align:right;text-indent:0;");
    return css;
}

} // namespace folivane::engine
