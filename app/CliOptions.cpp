// Parsing folivane-cli's arguments.
#include "CliOptions.h"

#include "engine/HeadingRules.h"
#include "engine/LanguageTag.h"
#include "engine/SourceText.h"

#include <optional>

namespace folivane::cli {
namespace {

bool EndsWithTxt(const std::string& path) {
    if (path.size() < 4) return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == ".txt" && path.size() > 4 && path[path.size() - 5] != '/';
}

// The longest file name most file systems take (NAME_MAX).
constexpr std::size_t kMaxFileName = 255;

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

// A heading is a short line; beyond this a number is a mistake.
constexpr std::size_t kMaxHeadingLength = 1000;

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

// A title may hold characters a file name cannot.
std::string FileNameFromTitle(const std::string& title) {
    std::string name = title.empty() ? std::string("myepub") : title;
    for (char& c : name)
        if (c == '/') c = '_';
    if (name == "." || name == "..") name = "myepub";
    return name + ".epub";
}

} // namespace

std::string UsageText() {
    return "Usage: folivane-cli [OPTION]... [--] FILE.txt...\n"
           "Convert text files, in the order given, into one EPUB book.\n"
           "\n"
           "  -o, --output BOOK       write the book to BOOK (default: TITLE.epub, or "
           "myepub.epub)\n"
           "      --title TEXT        the book's name\n"
           "      --author TEXT       the book's author\n"
           "      --publisher TEXT    the book's publisher\n"
           "      --cover IMAGE       a JPEG, PNG, GIF or BMP picture for the cover\n"
           "      --encoding CODEPAGE the code page of sources that are not UTF-8 (for example\n"
           "                          GB18030, BIG5, CP1252); by default it is detected\n"
           "      --language TAG      the book's language as a BCP 47 tag (en, zh-CN, zh-TW, ja);\n"
           "                          by default it is judged from the text\n"
           "      --chapters auto|files\n"
           "                          auto (the default): chapters begin at heading lines such\n"
           "                          as \"第十四章 渡口\", \"第一卷\" or \"Chapter 14\"; files: "
           "one\n"
           "                          chapter per file, large files cut into pieces\n"
           "      --chapter-pattern REGEX, --volume-pattern REGEX\n"
           "                          PCRE2 patterns searched in each line instead of the\n"
           "                          built-in heading rules\n"
           "      --max-heading-length N\n"
           "                          a heading line has at most N characters (default 40)\n"
           "      --epub-version 2|3  the book's EPUB version (default 2); 3 adds a navigation\n"
           "                          document and keeps toc.ncx for older readers\n"
           "  -q, --quiet             show only the result\n"
           "  -h, --help              show this help and exit\n"
           "      --version           show the version and exit\n"
           "\n"
           "Sources with a byte-order mark (UTF-8, UTF-16, UTF-32) are read by it; UTF-8 is\n"
           "recognised without one, even with a few damaged bytes.\n"
           "\n"
           "Exit status: 0 when the book was written, 1 when the conversion failed, 2 for a\n"
           "usage error (also when the book would replace one of its sources or its cover),\n"
           "128+N when signal N stopped the conversion (what it made is removed).\n";
}

CliOptions ParseCommandLine(const std::vector<std::string>& arguments) {
    CliOptions options;
    engine::BookInput& book = options.book;
    bool outputGiven = false;
    bool encodingGiven = false;
    std::string chapters = "auto";
    std::string maxHeadingLength;
    std::string epubVersion = "2";
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            if (!EndsWithTxt(argument)) {
                options.error = "not a .txt file: " + argument;
                return options;
            }
            book.sources.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string value;
        bool inlineValue = false;
        if (const auto equals = argument.find('=');
            argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = argument.substr(equals + 1);
            argument.erase(equals);
            inlineValue = true;
        }
        const auto takeValue = [&](std::string& target) {
            if (inlineValue) {
                target = value;
                return true;
            }
            if (i + 1 >= arguments.size()) {
                options.error = "option " + argument + " needs a value";
                return false;
            }
            target = arguments[++i];
            return true;
        };
        bool ok = true;
        if (argument == "-h" || argument == "--help")
            options.help = true;
        else if (argument == "--version")
            options.version = true;
        else if (argument == "-q" || argument == "--quiet")
            options.quiet = true;
        else if (argument == "-o" || argument == "--output")
            ok = outputGiven = takeValue(book.outputPath);
        else if (argument == "--title")
            ok = takeValue(book.title);
        else if (argument == "--author")
            ok = takeValue(book.author);
        else if (argument == "--publisher")
            ok = takeValue(book.publisher);
        else if (argument == "--cover")
            ok = takeValue(book.coverPath);
        else if (argument == "--encoding")
            ok = encodingGiven = takeValue(book.legacyEncoding);
        else if (argument == "--language")
            ok = takeValue(book.language);
        else if (argument == "--chapters")
            ok = takeValue(chapters);
        else if (argument == "--chapter-pattern")
            ok = takeValue(book.chapterPattern);
        else if (argument == "--volume-pattern")
            ok = takeValue(book.volumePattern);
        else if (argument == "--max-heading-length")
            ok = takeValue(maxHeadingLength);
        else if (argument == "--epub-version")
            ok = takeValue(epubVersion);
        else {
            options.error = "unknown option " + argument;
            return options;
        }
        if (!ok) return options;
    }
    if (options.help || options.version) return options;
    if (encodingGiven && book.legacyEncoding.empty()) {
        options.error = "--encoding needs the name of a code page, such as GB18030";
        return options;
    }
    if (encodingGiven && (!IsCodePageName(book.legacyEncoding) ||
                          !engine::IsKnownTextEncoding(book.legacyEncoding))) {
        options.error = "unknown code page " + book.legacyEncoding;
        return options;
    }
    if (chapters != "auto" && chapters != "files") {
        options.error = "--chapters takes auto or files, not " + chapters;
        return options;
    }
    book.chapters = chapters == "auto" ? engine::ChapterMode::Auto : engine::ChapterMode::Files;
    if (epubVersion != "2" && epubVersion != "3") {
        options.error = "--epub-version takes 2 or 3, not \"" + epubVersion + "\"";
        return options;
    }
    book.epubVersion = epubVersion == "3" ? 3 : 2;
    if (!maxHeadingLength.empty()) {
        const auto length = ParseCount(maxHeadingLength);
        if (!length || *length == 0 || *length > kMaxHeadingLength) {
            options.error = "--max-heading-length takes a number from 1 to " +
                            std::to_string(kMaxHeadingLength);
            return options;
        }
        book.maxHeadingLength = *length;
    }
    try {
        if (!book.chapterPattern.empty() || !book.volumePattern.empty())
            engine::HeadingRules::Custom(book.chapterPattern, book.volumePattern,
                                         book.maxHeadingLength);
    } catch (const engine::HeadingPatternError& error) {
        options.error = error.what();
        return options;
    }
    if (!book.language.empty()) {
        const std::optional<std::string> tag = engine::NormalizeLanguageTag(book.language);
        if (!tag) {
            options.error = engine::LanguageTagProblem(book.language);
            return options;
        }
        book.language = *tag;
    }
    if (book.sources.empty()) {
        options.error = "no source files given";
        return options;
    }
    if (outputGiven && book.outputPath.empty()) {
        options.error = "the output path is empty";
        return options;
    }
    if (!outputGiven) {
        book.outputPath = FileNameFromTitle(book.title);
        if (book.outputPath.size() > kMaxFileName) {
            options.error = "the title is too long to name the book's file; name it with -o";
            return options;
        }
    }
    return options;
}

} // namespace folivane::cli
