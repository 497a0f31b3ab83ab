// The details options: a table of their names, then one check of what they hold.
#include "CliDetails.h"

#include "engine/epub/Isbn.h"
#include "engine/text/AsciiText.h"
#include "engine/text/CalendarDate.h"
#include "engine/text/UnicodeText.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace folivane::cli {
namespace {

struct DetailOption {
    std::string_view name;
    std::optional<std::string> GivenDetails::*value;
    std::vector<std::string> GivenDetails::*values;
};

constexpr DetailOption kDetailOptions[] = {
    {"description", &GivenDetails::description, nullptr},
    {"subject", nullptr, &GivenDetails::subjects},
    {"series", &GivenDetails::series, nullptr},
    {"series-index", &GivenDetails::seriesIndex, nullptr},
    {"identifier", &GivenDetails::identifier, nullptr},
    {"translator", &GivenDetails::translator, nullptr},
    {"contributor", nullptr, &GivenDetails::contributors},
    {"date", &GivenDetails::date, nullptr},
    {"rights", &GivenDetails::rights, nullptr},
};

// A description longer than this is not one: a whole text given by mistake.
constexpr std::size_t kMaxDescriptionFile = 64 << 10;

// A series index: digits, with decimals after a point ("2", "2.5").
bool IsSeriesIndex(const std::string& text) {
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "1" : text.substr(point + 1);
    const auto digits = [](const std::string& part) {
        if (part.empty() || part.size() > 6) return false;
        for (const char c : part)
            if (!engine::IsAsciiDigit(c)) return false;
        return true;
    };
    return digits(whole) && digits(fraction);
}

// The text of a description file, or why there is none.
std::string ReadDescription(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "cannot read the description file \"" + path + "\"";
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) return "cannot read the description file \"" + path + "\"";
    if (text.size() > kMaxDescriptionFile)
        return "the description file \"" + path +
               "\" is over 64 KB; a description is a "
               "paragraph or two";
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    if (engine::FindInvalidUtf8(text) != text.size())
        return "the description file \"" + path + "\" is not UTF-8 text";
    return {};
}

} // namespace

std::optional<std::string> ReadDetailOption(const std::string& argument,
                                            const std::optional<std::string>& inlineValue,
                                            const std::vector<std::string>& arguments,
                                            std::size_t& i, GivenDetails& given) {
    if (argument == "--no-cover") {
        if (inlineValue) return "option --no-cover takes no value";
        given.noCover = true;
        return std::string();
    }
    for (const DetailOption& option : kDetailOptions) {
        if (argument != "--" + std::string(option.name)) continue;
        if (!inlineValue && i + 1 >= arguments.size())
            return "option " + argument + " needs a value";
        std::string value = inlineValue ? *inlineValue : arguments[++i];
        if (option.value)
            given.*option.value = std::move(value);
        else
            (given.*option.values).push_back(std::move(value));
        return std::string();
    }
    return std::nullopt;
}

std::string ApplyDetails(const GivenDetails& given, engine::BookInput& book) {
    book.titleCover = !given.noCover;
    // Text that goes into the book must be UTF-8, as --title's.
    for (const DetailOption& option : kDetailOptions) {
        std::vector<std::string> values;
        if (option.value && given.*option.value) values.push_back(*(given.*option.value));
        if (option.values) values = given.*option.values;
        for (const std::string& value : values)
            if (engine::FindInvalidUtf8(value) != value.size())
                return "--" + std::string(option.name) +
                       " is not UTF-8 text; give it in UTF-8 (the terminal's encoding may differ)";
    }
    engine::BookDetails& details = book.details;
    if (given.description) {
        details.description = *given.description;
        if (details.description.starts_with('@')) {
            if (std::string problem =
                    ReadDescription(details.description.substr(1), details.description);
                !problem.empty())
                return problem;
        }
    }
    details.subjects = given.subjects;
    details.series = given.series.value_or("");
    if (given.seriesIndex) {
        if (!given.series) return "--series-index needs --series: the number is its place in one";
        if (!IsSeriesIndex(*given.seriesIndex))
            return "--series-index takes a number such as 2 or 2.5, not \"" + *given.seriesIndex +
                   "\"";
        details.seriesIndex = *given.seriesIndex;
    }
    if (given.identifier) {
        const engine::IsbnCheck check = engine::CheckIsbn(*given.identifier);
        if (check.isbn.empty()) return "--identifier: " + check.problem;
        details.isbn = check.isbn;
    }
    details.translator = given.translator.value_or("");
    details.contributors = given.contributors;
    if (given.date) {
        if (!engine::IsBookDate(*given.date))
            return "--date takes a date as YYYY, YYYY-MM or YYYY-MM-DD, not \"" + *given.date +
                   "\"";
        details.date = *given.date;
    }
    details.rights = given.rights.value_or("");
    return {};
}

std::string DetailsUsageText() {
    return "      --no-cover          give a book without --cover no cover; by default one is\n"
           "                          made from its title and author\n"
           "      --description TEXT  what the book is about; @FILE reads it from a UTF-8 file\n"
           "      --subject TEXT      a subject or genre (may be given again)\n"
           "      --series NAME, --series-index N\n"
           "                          the series the book belongs to and its number in it\n"
           "      --identifier ISBN   the book's ISBN-10 or ISBN-13, check digit checked\n"
           "      --translator NAME   the book's translator\n"
           "      --contributor NAME  another contributor (may be given again)\n"
           "      --date DATE         the date of publication, YYYY[-MM[-DD]]\n"
           "      --rights TEXT       the book's rights (\"Public domain\", a licence)\n";
}

} // namespace folivane::cli
