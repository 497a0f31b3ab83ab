// Parsing folivane-cli's arguments.
#include "CliOptions.h"

#include "engine/SourceText.h"

namespace folivane::cli {
namespace {

bool EndsWithTxt(const std::string& path) {
    if (path.size() < 4) return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == ".txt" && path.size() > 4 && path[path.size() - 5] != '/';
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
           "  -q, --quiet             show only the result\n"
           "  -h, --help              show this help and exit\n"
           "      --version           show the version and exit\n"
           "\n"
           "Sources with a UTF-8 or UTF-16 byte-order mark are read by it. Exit status: 0 when\n"
           "the book was written, 1 when the conversion failed, 2 for a usage error.\n";
}

CliOptions ParseCommandLine(const std::vector<std::string>& arguments) {
    CliOptions options;
    engine::BookInput& book = options.book;
    bool outputGiven = false;
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
            ok = takeValue(book.legacyEncoding);
        else {
            options.error = "unknown option " + argument;
            return options;
        }
        if (!ok) return options;
    }
    if (options.help || options.version) return options;
    if (!book.legacyEncoding.empty() && !engine::IsKnownTextEncoding(book.legacyEncoding)) {
        options.error = "unknown code page " + book.legacyEncoding;
        return options;
    }
    if (book.sources.empty()) {
        options.error = "no source files given";
        return options;
    }
    if (outputGiven && book.outputPath.empty()) {
        options.error = "the output path is empty";
        return options;
    }
    if (!outputGiven) book.outputPath = FileNameFromTitle(book.title);
    return options;
}

} // namespace folivane::cli
