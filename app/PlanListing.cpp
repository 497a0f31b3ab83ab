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
    out += ")\n";
    for (const engine::PlanEntry& child : entry.children)
        EntryText(child, depth + 1, out);
}

nlohmann::json EntryJson(const engine::PlanEntry& entry) {
    nlohmann::json children = nlohmann::json::array();
    for (const engine::PlanEntry& child : entry.children)
        children.push_back(EntryJson(child));
    return {{"label", entry.label},    {"kind", KindName(entry.heading)},
            {"page", entry.firstPage}, {"pages", entry.pages},
            {"bytes", entry.bytes},    {"children", std::move(children)}};
}

} // namespace

std::string PlanAsText(const engine::BookPlan& plan) {
    std::string out = "Sources:\n";
    for (std::size_t i = 0; i < plan.sources.size(); ++i) {
        const engine::SourcePlan& source = plan.sources[i];
        out += "  " + std::to_string(i + 1) + ". " + source.path + "\n     " +
               source.encoding.encoding + " (" + BasisName(source.encoding.basis) + "), " +
               source.language + ", " + Size(source.bytes) + ", " + Pages(source.pages) + "\n";
    }
    out += "Contents (" + Pages(plan.pages) + ", language " + plan.language + "):\n";
    for (const engine::PlanEntry& entry : plan.contents)
        EntryText(entry, 0, out);
    return out;
}

std::string PlanAsJson(const engine::BookPlan& plan) {
    nlohmann::json sources = nlohmann::json::array();
    for (const engine::SourcePlan& source : plan.sources)
        sources.push_back({{"path", source.path},
                           {"encoding", source.encoding.encoding},
                           {"basis", BasisName(source.encoding.basis)},
                           {"language", source.language},
                           {"bytes", source.bytes},
                           {"pages", source.pages}});
    nlohmann::json contents = nlohmann::json::array();
    for (const engine::PlanEntry& entry : plan.contents)
        contents.push_back(EntryJson(entry));
    const nlohmann::json document = {{"language", plan.language},
                                     {"pages", plan.pages},
                                     {"sources", std::move(sources)},
                                     {"contents", std::move(contents)}};
    // A file name need not be UTF-8; JSON must be.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace folivane::cli
