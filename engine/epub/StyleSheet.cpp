// The style sheet the pages link, made for the book's language and the user's spacing.
#include "StyleSheet.h"

#include "engine/text/AsciiText.h"

#include <cstdio>

namespace folivane::engine {
namespace {

bool IsCjkLanguage(const std::string& tag) {
    const std::string lower = AsciiLowered(tag.substr(0, 3));
    return lower == "zh" || lower.starts_with("zh-") || lower == "ja" || lower.starts_with("ja-") ||
           lower == "ko" || lower.starts_with("ko-");
}

// A length in em with at most two decimals, without a locale's decimal comma.
std::string Em(double value) {
    const auto hundredths = static_cast<long>(value * 100 + 0.5);
    std::string text = std::to_string(hundredths / 100);
    if (const long rest = hundredths % 100; rest != 0) {
        text += '.';
        text += static_cast<char>('0' + rest / 10);
        if (rest % 10 != 0) text += static_cast<char>('0' + rest % 10);
    }
    return text == "0" ? text : text + "em";
}

} // namespace

std::string StyleSheet(const BookStyle& style) {
    const bool cjk = IsCjkLanguage(style.language);
    // Chinese and Japanese books indent by two characters and part paragraphs a little; books
    // in other scripts indent less and, as printed books do, not after a heading or a break.
    const double indent = style.indentEm >= 0 ? style.indentEm : cjk ? 2.0 : 1.5;
    const double spacing = style.spacingEm >= 0 ? style.spacingEm
                           : indent == 0        ? 0.8
                           : cjk                ? 0.4
                                                : 0.0;
    std::string css = "body{margin:0 1%;padding:0;line-height:1.6;text-align:justify;}";
    css += "p{margin:0 0 " + Em(spacing) + " 0;text-indent:" + Em(indent) + ";}";
    if (!cjk) css += "p.first{text-indent:0;}";
    css += "p.break{text-align:center;text-indent:0;margin:0.8em 0;}";
    css += "hr.break{border:0;height:0;margin:1.2em 0;}";
    css += "blockquote{margin:0.6em 0 0.6em 1.5em;}blockquote p{text-indent:0;}";
    css += "pre.code{white-space:pre-wrap;font-size:0.9em;margin:0.6em 0;}";
    css += "h1{text-align:center;margin:1em 0;}";
    css += "h2{text-align:center;margin:1em 0;}";
    return css;
}

} // namespace folivane::engine
