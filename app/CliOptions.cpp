// Parsing folivane-cli's arguments: a table of options, then one validation step.
#include "CliOptions.h"

#include "CliDetails.h"

#include "engine/chapters/HeadingRules.h"
#include "engine/epub/StyleSheet.h"
#include "engine/epub/UserStyleSheet.h"
#include "engine/text/ChineseScript.h"
#include "engine/text/CodePages.h"
#include "engine/text/ConversionError.h"
#include "engine/text/FailureText.h"
#include "engine/text/LanguageTag.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/UnicodeText.h"

#include <optional>
#include <string_view>
#include <tuple>

namespace folivane::cli {
namespace {

// The options as they were given, before any is checked: nullopt for one not given.
struct GivenOptions {
    std::optional<std::string> output, title, author, publisher, cover, encoding, language,
        chapters, chapterPattern, volumePattern, maxHeadingLength, epubVersion, paragraphs, indent,
        paragraphSpacing, css, listFormat;
    bool quiet = false, help = false, version = false, vertical = false, list = false,
         explain = false;
    // The reader's script and the books made one per source.
    std::optional<std::string> chineseScript, jobs;
    bool each = false, skipExisting = false;
    std::vector<std::string> sources;
    GivenDetails details;
};

// What an option's value is: bytes passed on as they are (paths, which the file system
// takes in any encoding, and words checked against a list), or text that goes into the book
// or to PCRE2 and so must be UTF-8: anything else would be lost or garbled without a word.
enum class Value { Bytes, Utf8Text };

// One option: its long name, its one-letter name (0 for none), and where its value goes and
// what it is, or the flag it sets.
struct Option {
    std::string_view name;
    char letter;
    std::optional<std::string> GivenOptions::*value;
    bool GivenOptions::*flag;
    Value kind = Value::Bytes;
};

constexpr Option kOptions[] = {
    {"output", 'o', &GivenOptions::output, nullptr},
    {"title", 0, &GivenOptions::title, nullptr, Value::Utf8Text},
    {"author", 0, &GivenOptions::author, nullptr, Value::Utf8Text},
    {"publisher", 0, &GivenOptions::publisher, nullptr, Value::Utf8Text},
    {"cover", 0, &GivenOptions::cover, nullptr},
    {"encoding", 0, &GivenOptions::encoding, nullptr},
    {"language", 0, &GivenOptions::language, nullptr, Value::Utf8Text},
    {"chapters", 0, &GivenOptions::chapters, nullptr},
    {"chapter-pattern", 0, &GivenOptions::chapterPattern, nullptr, Value::Utf8Text},
    {"volume-pattern", 0, &GivenOptions::volumePattern, nullptr, Value::Utf8Text},
    {"max-heading-length", 0, &GivenOptions::maxHeadingLength, nullptr},
    {"epub-version", 0, &GivenOptions::epubVersion, nullptr},
    {"paragraphs", 0, &GivenOptions::paragraphs, nullptr},
    {"indent", 0, &GivenOptions::indent, nullptr},
    {"paragraph-spacing", 0, &GivenOptions::paragraphSpacing, nullptr},
    {"css", 0, &GivenOptions::css, nullptr},
    {"vertical", 0, nullptr, &GivenOptions::vertical},
    {"list", 0, nullptr, &GivenOptions::list},
    {"list-format", 0, &GivenOptions::listFormat, nullptr},
    {"chinese-script", 0, &GivenOptions::chineseScript, nullptr},
    {"each", 0, nullptr, &GivenOptions::each},
    {"jobs", 0, &GivenOptions::jobs, nullptr},
    {"skip-existing", 0, nullptr, &GivenOptions::skipExisting},
    {"explain", 0, nullptr, &GivenOptions::explain},
    {"quiet", 'q', nullptr, &GivenOptions::quiet},
    {"help", 'h', nullptr, &GivenOptions::help},
    {"version", 0, nullptr, &GivenOptions::version},
};

const Option* FindOption(std::string_view argument) {
    for (const Option& option : kOptions) {
        if (argument.starts_with("--") && argument.substr(2) == option.name) return &option;
        if (option.letter && argument.size() == 2 && argument[1] == option.letter) return &option;
    }
    return nullptr;
}

// The longest file name most file systems take (NAME_MAX).
constexpr std::size_t kMaxFileName = 255;
// Books made at once: more than this many would only wait for the cores.
constexpr std::size_t kMaxJobs = 256;
// A heading is a short line; beyond this a number is a mistake.
constexpr std::size_t kMaxHeadingLength = 1000;

// iconv names are letters, digits and a few marks ("BIG5-HKSCS", "ISO_8859-1:1987"); a "/"
// would ask iconv for conversion options instead.
bool IsCodePageName(const std::string& name) {
    if (name.empty()) return false;
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '-' && c != '_' && c != '.' && c != ':') return false;
    }
    return true;
}

// A count in decimal digits only.
std::optional<std::size_t> ParseCount(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

// A length in em: digits with at most two decimals after a point, from 0 to kMaxStyleEm.
std::optional<double> ParseEm(const std::string& text) {
    const auto point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    const auto units = ParseCount(whole.empty() && !fraction.empty() ? "0" : whole);
    if (!units || fraction.size() > 2 || (point != std::string::npos && fraction.empty()))
        return std::nullopt;
    const auto hundredths = fraction.empty()
                                ? std::optional<std::size_t>(0)
                                : ParseCount(fraction + std::string(2 - fraction.size(), '0'));
    if (!hundredths) return std::nullopt;
    const double value = static_cast<double>(*units) + static_cast<double>(*hundredths) / 100;
    if (value > engine::kMaxStyleEm) return std::nullopt;
    return value;
}

// A title may hold characters a file name cannot.
std::string FileNameFromTitle(const std::string& title) {
    std::string name = title.empty() ? std::string(engine::kDefaultBookName) : title;
    for (char& c : name)
        if (c == '/') c = '_';
    if (name == "." || name == "..") name = engine::kDefaultBookName;
    return name + ".epub";
}

// Reads the arguments into `given`; a usage error, or empty.
std::string ReadArguments(const std::vector<std::string>& arguments, GivenOptions& given) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            given.sources.push_back(argument); // checked once --each is known
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            inlineValue = argument.substr(equals + 1);
            argument.erase(equals);
        }
        const Option* option = FindOption(argument);
        if (!option) {
            const auto detail =
                ReadDetailOption(argument, inlineValue, arguments, i, given.details);
            if (!detail) return "unknown option " + argument;
            if (!detail->empty()) return *detail;
            continue;
        }
        if (option->flag) {
            given.*option->flag = true;
            continue;
        }
        if (!inlineValue && i + 1 >= arguments.size())
            return "option " + argument + " needs a value";
        given.*option->value = inlineValue ? *inlineValue : arguments[++i];
    }
    return {};
}

// The first option whose text is not UTF-8, named as the user would type it; empty when none.
std::string NotUtf8Problem(const GivenOptions& given) {
    for (const Option& option : kOptions) {
        if (option.kind != Value::Utf8Text) continue;
        const std::optional<std::string>& value = given.*option.value;
        if (value && engine::FindInvalidUtf8(*value) != value->size())
            return "--" + std::string(option.name) +
                   " is not UTF-8 text; give it in UTF-8 (the terminal's encoding may differ)";
    }
    return {};
}

// The options of the reader's script and of --each; a usage error, or empty.
std::string ValidateScriptAndEach(const GivenOptions& given, CliOptions& options) {
    if (given.chineseScript) {
        const auto script = engine::ParseChineseScript(*given.chineseScript);
        if (!script)
            return "--chinese-script takes keep, simplified, traditional, taiwan or hongkong, "
                   "not \"" +
                   *given.chineseScript + "\"";
        options.book.chineseScript = *script;
    }
    options.each = given.each;
    options.skipExisting = given.skipExisting;
    if (!given.each) {
        if (given.jobs || given.skipExisting)
            return std::string(given.jobs ? "--jobs" : "--skip-existing") + " needs --each";
        for (const std::string& source : given.sources)
            if (!engine::IsTextFileName(source)) return "not a .txt file: " + source;
        return {};
    }
    if (given.list || given.explain)
        return std::string(given.list ? "--list" : "--explain") +
               " shows one book; leave out --each";
    if (given.jobs) {
        const auto jobs = ParseCount(*given.jobs);
        if (!jobs || *jobs == 0 || *jobs > kMaxJobs)
            return "--jobs takes a number from 1 to " + std::to_string(kMaxJobs);
        options.jobs = *jobs;
    }
    options.inputs = given.sources;
    return {};
}

// Turns what was given into the book's input; a usage error, or empty.
std::string Validate(const GivenOptions& given, engine::BookInput& book) {
    if (std::string problem = NotUtf8Problem(given); !problem.empty()) return problem;
    book.sources = given.sources;
    book.outputPath = given.output.value_or("");
    book.title = given.title.value_or("");
    book.author = given.author.value_or("");
    book.publisher = given.publisher.value_or("");
    book.coverPath = given.cover.value_or("");
    book.chapterPattern = given.chapterPattern.value_or("");
    book.volumePattern = given.volumePattern.value_or("");
    if (given.encoding) {
        if (given.encoding->empty())
            return "--encoding needs the name of a code page, such as GB18030";
        if (!IsCodePageName(*given.encoding) || !engine::IsKnownTextEncoding(*given.encoding))
            return "unknown code page " + *given.encoding;
        book.legacyEncoding = *given.encoding;
    }
    const std::string chapters = given.chapters.value_or("auto");
    if (chapters != "auto" && chapters != "files")
        return "--chapters takes auto or files, not " + chapters;
    book.chapters = chapters == "auto" ? engine::ChapterMode::Auto : engine::ChapterMode::Files;
    const std::string paragraphs = given.paragraphs.value_or("auto");
    if (paragraphs == "auto")
        book.paragraphs = engine::ParagraphChoice::Auto;
    else if (paragraphs == "lines")
        book.paragraphs = engine::ParagraphChoice::Lines;
    else if (paragraphs == "blocks")
        book.paragraphs = engine::ParagraphChoice::Blocks;
    else if (paragraphs == "indented")
        book.paragraphs = engine::ParagraphChoice::Indented;
    else
        return "--paragraphs takes auto, lines, blocks or indented, not " + paragraphs;
    for (const auto& [value, target, name] :
         {std::tuple{given.indent, &book.indentEm, "--indent"},
          std::tuple{given.paragraphSpacing, &book.paragraphSpacingEm, "--paragraph-spacing"}}) {
        if (!value) continue;
        const std::optional<double> em = ParseEm(*value);
        if (!em)
            return std::string(name) + " takes a length in em from 0 to 10 (such as 1.5), not " +
                   *value;
        *target = *em;
    }
    if (given.css) {
        if (given.css->empty()) return "--css needs the path of a style sheet";
        try {
            engine::ReadUserStyleSheet(*given.css);
        } catch (...) {
            return engine::FailureText(engine::CaughtFailure());
        }
        book.styleSheetPath = *given.css;
    }
    // A vertical book is an EPUB 3 one unless the user asked for another version.
    const std::string version = given.epubVersion.value_or(given.vertical ? "3" : "2");
    if (version != "2" && version != "3")
        return "--epub-version takes 2 or 3, not \"" + version + "\"";
    book.epubVersion = version == "3" ? engine::EpubVersion::Epub3 : engine::EpubVersion::Epub2;
    if (given.vertical && book.epubVersion != engine::EpubVersion::Epub3)
        return "--vertical needs EPUB 3: EPUB 2 has no vertical writing (leave out "
               "--epub-version 2)";
    book.vertical = given.vertical;
    if (given.maxHeadingLength) {
        const auto length = ParseCount(*given.maxHeadingLength);
        if (!length || *length == 0 || *length > kMaxHeadingLength)
            return "--max-heading-length takes a number from 1 to " +
                   std::to_string(kMaxHeadingLength);
        book.maxHeadingLength = *length;
    }
    try {
        if (!book.chapterPattern.empty() || !book.volumePattern.empty())
            engine::HeadingRules::Custom(book.chapterPattern, book.volumePattern,
                                         book.maxHeadingLength);
    } catch (const engine::HeadingPatternError& error) {
        return engine::FailureText(error.Reason());
    }
    if (given.language && !given.language->empty()) {
        const std::optional<std::string> tag = engine::NormalizeLanguageTag(*given.language);
        if (!tag) return engine::FailureText(engine::LanguageTagProblem(*given.language));
        book.language = *tag;
    }
    if (std::string problem = ApplyDetails(given.details, book); !problem.empty()) return problem;
    if (given.listFormat && *given.listFormat != "text" && *given.listFormat != "json")
        return "--list-format takes text or json, not \"" + *given.listFormat + "\"";
    if (book.sources.empty()) return "no source files given";
    if (given.output && book.outputPath.empty()) return "the output path is empty";
    if (!given.output && !given.each) {
        book.outputPath = FileNameFromTitle(book.title);
        if (book.outputPath.size() > kMaxFileName)
            return "the title is too long to name the book's file; name it with -o";
    }
    return {};
}

} // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& arguments) {
    CliOptions options;
    GivenOptions given;
    options.error = ReadArguments(arguments, given);
    options.help = given.help;
    options.version = given.version;
    options.quiet = given.quiet;
    options.list = given.list || given.explain;
    options.explain = given.explain;
    options.listFormat = given.listFormat.value_or("text");
    if (!options.error.empty() || options.help || options.version) return options;
    options.error = ValidateScriptAndEach(given, options);
    if (options.error.empty()) options.error = Validate(given, options.book);
    return options;
}

} // namespace folivane::cli
