// Writing the book's plan for folivane-cli --list.
#include "PlanListing.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace folivane::cli {
namespace {

const char* BasisName(engine::EncodingBasis basis) {
    switch (basis) {
    case engine::EncodingBasis::Mark:
        return "mark";
    case engine::EncodingBasis::Chosen:
        return "chosen";
    case engine::EncodingBasis::Book:
        return "book";
    case engine::EncodingBasis::Locale:
        return "locale";
    case engine::EncodingBasis::Guess:
        return "guess";
    case engine::EncodingBasis::Text:
        break;
    }
    return "text";
}

const char* KindName(engine::HeadingKind kind) {
    switch (kind) {
    case engine::HeadingKind::Volume:
        return "volume";
    case engine::HeadingKind::Chapter:
        return "chapter";
    case engine::HeadingKind::None:
        break;
    }
    return "page";
}

const char* StyleName(engine::ParagraphStyle style) {
    switch (style) {
    case engine::ParagraphStyle::Blocks:
        return "blocks";
    case engine::ParagraphStyle::Indented:
        return "indented";
    case engine::ParagraphStyle::Lines:
        break;
    }
    return "lines";
}

const char* ReasonName(engine::ParagraphReason reason) {
    using Reason = engine::ParagraphReason;
    switch (reason) {
    case Reason::TooFewLines:
        return "too-few-lines";
    case Reason::WidthOutOfRange:
        return "width-out-of-range";
    case Reason::FewRunOns:
        return "few-run-ons";
    case Reason::IndentedRunOns:
        return "indented-run-ons";
    case Reason::NotWrapped:
        return "not-wrapped";
    case Reason::Wrapped:
        return "wrapped";
    case Reason::Chosen:
        break;
    }
    return "chosen";
}

const char* NoticeKindName(engine::TextNotice::Kind kind) {
    switch (kind) {
    case engine::TextNotice::Kind::NumberMissing:
        return "number-missing";
    case engine::TextNotice::Kind::NumberRepeated:
        return "number-repeated";
    case engine::TextNotice::Kind::BytesNotDecoded:
        return "bytes-not-decoded";
    case engine::TextNotice::Kind::AnnotationsNotUnderstood:
        break;
    }
    return "annotations-not-understood";
}

// Why the source's paragraphs are as they are, from the figures Auto judged it by.
std::string Explanation(const engine::ParagraphShape& shape) {
    using Reason = engine::ParagraphReason;
    const engine::ParagraphEvidence& seen = shape.evidence;
    const auto n = [](std::size_t value) { return std::to_string(value); };
    const std::string wrapped = n(seen.wrapped) + " of the " + n(seen.runOns) +
                                " lines that run on end where the next word would not fit";
    std::string why;
    switch (shape.reason) {
    case Reason::Chosen:
        why = "chosen";
        break;
    case Reason::TooFewLines:
        why = "too few lines to judge (" + n(seen.lines) + ")";
        break;
    case Reason::WidthOutOfRange:
        why = "lines end near " + n(shape.wrapWidth) +
              " characters, not a width text is wrapped at (16 to 200)";
        break;
    case Reason::FewRunOns:
        why = "only " + n(seen.runOns) + " of " + n(seen.lines) +
              " lines run on into the next (a quarter would)";
        break;
    case Reason::IndentedRunOns:
        why = n(seen.indentedRunOns) + " of the " + n(seen.runOns) +
              " lines that follow another are indented: each line is a paragraph";
        break;
    case Reason::NotWrapped:
        why = "not hard-wrapped: only " + wrapped + " (half would)";
        break;
    case Reason::Wrapped:
        why = "hard-wrapped at " + n(shape.wrapWidth) + " characters: " + wrapped + "; " +
              (shape.style == engine::ParagraphStyle::Blocks
                   ? n(seen.gaps) + " blank-line gaps part them"
               : shape.style == engine::ParagraphStyle::Indented
                   ? n(seen.indented) + " indented lines part them"
                   : "neither blank lines nor indents part them, so lines are kept");
        break;
    }
    if (shape.fixedCjkWrap)
        why += "; CJK text wrapped at a fixed width (" + n(seen.fixedWidth) + " of " +
               n(seen.cjkRunOns) + " lines): Latin words across a line end are joined whole";
    return why;
}

// "12.3 KB" for people; the JSON carries bytes.
std::string Size(std::size_t bytes) {
    char text[32];
    if (bytes < 1024) return std::to_string(bytes) + " B";
    if (bytes < 1024 * 1024 - 51)
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    return text;
}

std::string Pages(std::size_t pages) {
    return std::to_string(pages) + (pages == 1 ? " page" : " pages");
}

void EntryText(const engine::PlanEntry& entry, int depth, std::string& out) {
    out += std::string(static_cast<std::size_t>(2 + 2 * depth), ' ') + entry.label + "  (" +
           Size(entry.bytes);
    if (entry.pages > 1) out += ", " + Pages(entry.pages);
    if (entry.numbered) out += ", by its number";
    out += ")\n";
    for (const engine::PlanEntry& child : entry.children)
        EntryText(child, depth + 1, out);
}

nlohmann::ordered_json ParagraphsJson(const engine::ParagraphShape& shape) {
    const engine::ParagraphEvidence& seen = shape.evidence;
    return {{"style", StyleName(shape.style)},
            {"reason", ReasonName(shape.reason)},
            {"wrapWidth", shape.wrapWidth},
            {"fixedCjkWrap", shape.fixedCjkWrap},
            {"lines", seen.lines},
            {"runOns", seen.runOns},
            {"wrapped", seen.wrapped},
            {"indentedRunOns", seen.indentedRunOns},
            {"indented", seen.indented},
            {"gaps", seen.gaps},
            {"cjkRunOns", seen.cjkRunOns},
            {"fixedWidth", seen.fixedWidth}};
}

nlohmann::ordered_json EntryJson(const engine::PlanEntry& entry) {
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (const engine::PlanEntry& child : entry.children)
        children.push_back(EntryJson(child));
    return {{"label", entry.label},           {"kind", KindName(entry.heading)},
            {"page", entry.firstPage},        {"pages", entry.pages},
            {"bytes", entry.bytes},           {"numbered", entry.numbered},
            {"children", std::move(children)}};
}

const char* CoverKindName(engine::CoverPlan::Kind kind) {
    switch (kind) {
    case engine::CoverPlan::Kind::Picture:
        return "picture";
    case engine::CoverPlan::Kind::Title:
        return "title";
    case engine::CoverPlan::Kind::None:
        break;
    }
    return "none";
}

std::string CoverText(const engine::CoverPlan& cover) {
    switch (cover.kind) {
    case engine::CoverPlan::Kind::Picture:
        return "the picture given";
    case engine::CoverPlan::Kind::Title:
        return "made from the title (" + cover.font + ")";
    case engine::CoverPlan::Kind::None:
        break;
    }
    return cover.problem.empty() ? "none" : "none: " + cover.problem;
}

// The details a book carries, as "Label: value" lines (one per subject and contributor).
std::vector<std::pair<std::string, std::string>> DetailLines(const engine::BookDetails& details) {
    std::vector<std::pair<std::string, std::string>> lines;
    const auto add = [&lines](const char* label, const std::string& value) {
        if (!value.empty()) lines.emplace_back(label, value);
    };
    add("Translator", details.translator);
    for (const std::string& contributor : details.contributors)
        add("Contributor", contributor);
    add("Series", details.series + (details.seriesIndex.empty() ? "" : " #" + details.seriesIndex));
    add("ISBN", details.isbn);
    add("Date", details.date);
    for (const std::string& subject : details.subjects)
        add("Subject", subject);
    add("Rights", details.rights);
    add("Description", details.description);
    return lines;
}

} // namespace

std::string PlanAsText(const engine::BookPlan& plan, bool explain) {
    std::string out = "Title: " + plan.title + "\n";
    if (!plan.author.empty()) out += "Author: " + plan.author + "\n";
    if (!plan.publisher.empty()) out += "Publisher: " + plan.publisher + "\n";
    for (const auto& [label, value] : DetailLines(plan.details))
        out += label + ": " + value + "\n";
    out += "Cover: " + CoverText(plan.cover) + "\n";
    out += "Sources:\n";
    for (std::size_t i = 0; i < plan.sources.size(); ++i) {
        const engine::SourcePlan& source = plan.sources[i];
        out += "  " + std::to_string(i + 1) + ". " + source.name + "  (" + source.path +
               ")\n     " + source.encoding.encoding + " (" + BasisName(source.encoding.basis) +
               "), " + source.language + ", " + Size(source.bytes) + ", " + Pages(source.pages) +
               ", paragraphs " + StyleName(source.paragraphs.style) +
               (source.notation ? ", notation" : "") + "\n";
        if (explain) out += "     why: " + Explanation(source.paragraphs) + "\n";
    }
    out += "Contents (" + Pages(plan.pages) + ", language " + plan.language + "):\n";
    for (const engine::PlanEntry& entry : plan.contents)
        EntryText(entry, 0, out);
    if (!plan.notices.empty()) out += "Notices:\n";
    for (const engine::TextNotice& notice : plan.notices)
        out += "  " +
               (notice.source < plan.sources.size() ? plan.sources[notice.source].path + ": "
                                                    : std::string()) +
               engine::NoticeText(notice) + "\n";
    return out;
}

std::string PlanAsJson(const engine::BookPlan& plan) {
    nlohmann::ordered_json sources = nlohmann::ordered_json::array();
    for (const engine::SourcePlan& source : plan.sources)
        sources.push_back({{"path", source.path},
                           {"name", source.name},
                           {"encoding", source.encoding.encoding},
                           {"basis", BasisName(source.encoding.basis)},
                           {"language", source.language},
                           {"notation", source.notation},
                           {"bytes", source.bytes},
                           {"pages", source.pages},
                           {"paragraphs", ParagraphsJson(source.paragraphs)}});
    nlohmann::ordered_json contents = nlohmann::ordered_json::array();
    for (const engine::PlanEntry& entry : plan.contents)
        contents.push_back(EntryJson(entry));
    nlohmann::ordered_json notices = nlohmann::ordered_json::array();
    for (const engine::TextNotice& notice : plan.notices) {
        nlohmann::ordered_json item = {{"source", notice.source},
                                       {"kind", NoticeKindName(notice.kind)}};
        if (notice.kind == engine::TextNotice::Kind::AnnotationsNotUnderstood) {
            item["count"] = notice.count;
            item["examples"] = notice.examples;
        } else if (notice.kind == engine::TextNotice::Kind::BytesNotDecoded) {
            item["count"] = notice.count;
            item["encoding"] = notice.encoding;
        } else {
            item["number"] = notice.number;
        }
        notices.push_back(std::move(item));
    }
    const nlohmann::ordered_json document = {{"version", kPlanFormatVersion},
                                             {"title", plan.title},
                                             {"author", plan.author},
                                             {"publisher", plan.publisher},
                                             {"language", plan.language},
                                             {"pages", plan.pages},
                                             {"sources", std::move(sources)},
                                             {"contents", std::move(contents)},
                                             {"notices", std::move(notices)},
                                             {"cover",
                                              {{"kind", CoverKindName(plan.cover.kind)},
                                               {"font", plan.cover.font},
                                               {"problem", plan.cover.problem}}},
                                             {"details",
                                              {{"description", plan.details.description},
                                               {"subjects", plan.details.subjects},
                                               {"series", plan.details.series},
                                               {"seriesIndex", plan.details.seriesIndex},
                                               {"isbn", plan.details.isbn},
                                               {"translator", plan.details.translator},
                                               {"contributors", plan.details.contributors},
                                               {"date", plan.details.date},
                                               {"rights", plan.details.rights}}}};
    // A file name need not be UTF-8; JSON must be.
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace folivane::cli
