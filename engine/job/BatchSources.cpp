// Listing the sources of a batch and naming its books.
#include "BatchSources.h"

#include "engine/chapters/TextSections.h"
#include "engine/epub/BookMetadata.h"
#include "engine/text/AsciiText.h"
#include "engine/text/ChineseScriptConverter.h"
#include "engine/text/CodePoints.h"
#include "engine/text/ConversionError.h"
#include "engine/text/Language.h"
#include "engine/text/Locale.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/SourceText.h"

#include "platform/FileStatus.h"
#include "platform/FolderTree.h"
#include "platform/SystemError.h"
#include "zip/FileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>
#include <optional>
#include <set>

namespace folivane::engine {
namespace {

// A text's header and its language show in its first lines.
constexpr std::size_t kSample = 64 << 10;
// NAME_MAX of most file systems, less room for " (99).epub".
constexpr std::size_t kMaxName = 240;

// The title and language its first 64 KiB give; its name when it cannot be read.
struct SourceTitle {
    std::string title;
    std::string language;
};

SourceTitle TitleOfSource(const std::string& path, const BookInput& options,
                          const std::string& locale) {
    std::string text;
    try {
        SourceBytes bytes = ReadSourceBytes(path);
        if (bytes.body.size() > kSample) bytes.body.resize(kSample);
        text = DecodeSource(std::move(bytes), options.legacyEncoding);
    } catch (const std::exception&) {
        // The conversion says why it cannot be read; its name still names the book.
    }
    return {TitleAndAuthorOf(text, path).title, DetectLanguage(text, locale)};
}

// The names of the ".txt" files directly in `folder`, hidden ones left out, links followed to
// files (a pipe or a folder named so is no source), in natural order.
std::vector<std::string> TextFilesIn(const std::string& folder) {
    int error = 0;
    const std::optional<std::vector<std::string>> names = platform::FolderNames(folder, &error);
    if (!names)
        throw ConversionError({.kind = FailureKind::BatchFolderNotRead,
                               .path = platform::ExpandFileName(folder),
                               .cause = error});
    std::vector<std::string> found;
    for (const std::string& name : *names) {
        if (name.starts_with('.') || !IsTextFileName(name)) continue;
        const std::optional<platform::FileStatus> status =
            platform::StatPath(zip::IncludeTrailingSlash(folder) + name);
        if (status && status->IsRegular()) found.push_back(name);
    }
    std::ranges::sort(found, NaturalLess);
    return found;
}

// `title` made a file's name: ".epub" added, cut at a character's end.
std::string FileNameOf(std::string title) {
    title = MetadataText(title);
    std::ranges::replace(title, '/', '_');
    if (title.size() > kMaxName) title.resize(LastCodePointStart(title.substr(0, kMaxName + 1)));
    if (title.empty() || title == "." || title == "..") title = kDefaultBookName;
    return title;
}

} // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (!IsAsciiDigit(a[i]) || !IsAsciiDigit(b[j])) {
            if (a[i] != b[j])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
            continue;
        }
        const std::size_t runA = a.find_first_not_of("0123456789", i);
        const std::size_t runB = b.find_first_not_of("0123456789", j);
        std::string_view digitsA = a.substr(i, runA == std::string_view::npos ? runA : runA - i);
        std::string_view digitsB = b.substr(j, runB == std::string_view::npos ? runB : runB - j);
        i += digitsA.size();
        j += digitsB.size();
        const std::size_t zerosA = std::min(digitsA.find_first_not_of('0'), digitsA.size() - 1);
        const std::size_t zerosB = std::min(digitsB.find_first_not_of('0'), digitsB.size() - 1);
        const std::string_view valueA = digitsA.substr(zerosA);
        const std::string_view valueB = digitsB.substr(zerosB);
        if (valueA.size() != valueB.size()) return valueA.size() < valueB.size();
        if (valueA != valueB) return valueA < valueB;
        if (zerosA != zerosB) return zerosA < zerosB;
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> BatchSources(const std::vector<std::string>& paths) {
    std::vector<std::string> sources;
    std::set<std::string> seen;
    const auto add = [&](std::string path) {
        if (seen.insert(path).second) sources.push_back(std::move(path));
    };
    const std::string* firstFolder = nullptr;
    for (const std::string& path : paths) {
        if (!zip::DirectoryExists(path)) {
            if (!IsTextFileName(path))
                throw ConversionError({.kind = FailureKind::BatchInputNotTextOrFolder,
                                       .path = platform::ExpandFileName(path)});
            add(path);
            continue;
        }
        if (!firstFolder) firstFolder = &path;
        for (const std::string& name : TextFilesIn(path))
            add(zip::IncludeTrailingSlash(path) + name);
    }
    if (sources.empty() && firstFolder)
        throw ConversionError({.kind = FailureKind::BatchFoundNoText,
                               .path = platform::ExpandFileName(*firstFolder)});
    return sources;
}

void PrepareBooksFolder(const std::string& folder) {
    if (folder.empty() || zip::DirectoryExists(folder)) return;
    const std::string named = platform::ExpandFileName(folder);
    if (platform::StatPath(folder))
        throw ConversionError({.kind = FailureKind::BooksFolderIsFile, .path = named});
    if (const int error = platform::MakeFolder(folder, 0777); error != 0 && error != EEXIST)
        throw ConversionError(
            {.kind = FailureKind::BooksFolderNotMade, .path = named, .cause = error});
    // Made by someone else meanwhile: usable only if it is a folder.
    if (!zip::DirectoryExists(folder))
        throw ConversionError({.kind = FailureKind::BooksFolderIsFile, .path = named});
}

std::vector<std::string> BatchBookPaths(const std::vector<std::string>& sources,
                                        const BookInput& options, const std::string& folder) {
    const std::string locale = LocaleOfProcess();
    std::array<std::optional<ChineseScriptConverter>, 2> converters;
    std::vector<std::string> names;
    for (const std::string& source : sources) {
        // The user's title and language stand for every book; the text tells the others.
        SourceTitle found = TitleOfSource(source, options, locale);
        if (!MetadataText(options.title).empty()) found.title = options.title;
        if (!options.language.empty()) found.language = options.language;
        const std::optional<ChineseForm> form = ChineseFormOfTag(found.language);
        if (options.chineseScript != ChineseScript::Keep && form) {
            auto& converter = converters[*form == ChineseForm::Simplified ? 0 : 1];
            if (!converter) converter.emplace(options.chineseScript, *form);
            found.title = converter->Convert(found.title);
        }
        names.push_back(FileNameOf(found.title));
    }
    std::map<std::string, std::size_t> count;
    for (const std::string& name : names)
        ++count[name];
    for (std::size_t i = 0; i < sources.size(); ++i)
        if (count[names[i]] > 1) names[i] = FileNameOf(GetFileNameFromPath(sources[i], false));
    std::map<std::string, std::size_t> taken;
    std::vector<std::string> paths;
    for (std::string& name : names) {
        const std::size_t times = ++taken[name];
        if (times > 1) name += " (" + std::to_string(times) + ")";
        paths.push_back(zip::IncludeTrailingSlash(folder) + name + ".epub");
    }
    return paths;
}

} // namespace folivane::engine
