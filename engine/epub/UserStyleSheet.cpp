// Reading and checking the user's style sheet, and bringing the files it names into the book.
#include "UserStyleSheet.h"

#include "engine/text/AsciiText.h"
#include "engine/text/ConversionError.h"
#include "engine/text/UnicodeText.h"

#include "platform/RegularFile.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace folivane::engine {
namespace {

// A style sheet is a few pages of rules; more is not one.
constexpr std::size_t kMaxStyleSheet = std::size_t{1} << 20;
// A font with every CJK character runs to some tens of MiB.
constexpr std::size_t kMaxResource = std::size_t{64} << 20;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// The folder of the book's copies, next to the style sheet in css/.
constexpr std::string_view kResourceFolder = "css/files/";

// The fonts and pictures a reading system must show, by extension, and how their files begin.
struct ResourceType {
    std::string_view extension;
    std::string_view kind;
    std::string_view epub3Type;
    std::string_view epub2Type;
};
constexpr ResourceType kResourceTypes[] = {
    {"ttf", "ttf", "font/ttf", "application/x-font-ttf"},
    {"otf", "otf", "font/otf", "application/vnd.ms-opentype"},
    {"woff", "woff", "font/woff", "application/font-woff"},
    {"woff2", "woff2", "font/woff2", "font/woff2"},
    {"png", "png", "image/png", "image/png"},
    {"jpg", "jpeg", "image/jpeg", "image/jpeg"},
    {"jpeg", "jpeg", "image/jpeg", "image/jpeg"},
    {"gif", "gif", "image/gif", "image/gif"},
    {"svg", "svg", "image/svg+xml", "image/svg+xml"},
};

// Whether `bytes` begin as a file of `kind` does.
bool HasSignature(std::string_view bytes, std::string_view kind) {
    if (kind == "ttf" || kind == "otf") // either outline flavour under either name
        return bytes.starts_with(std::string_view("\0\1\0\0", 4)) || bytes.starts_with("true") ||
               bytes.starts_with("OTTO");
    if (kind == "woff") return bytes.starts_with("wOFF");
    if (kind == "woff2") return bytes.starts_with("wOF2");
    if (kind == "png") return bytes.starts_with("\x89PNG\r\n\x1A\n");
    if (kind == "jpeg") return bytes.starts_with("\xFF\xD8\xFF");
    if (kind == "gif") return bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a");
    return bytes.substr(0, 4096).find("<svg") != std::string_view::npos;
}

// Whether `reference` names something by a URL of its own: "https:", "file:", "//host".
bool HasScheme(std::string_view reference) {
    if (reference.starts_with("//")) return true;
    const std::size_t colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(reference[0])) return false;
    return std::ranges::all_of(reference.substr(0, colon), [](char c) {
        return IsAsciiLetterOrDigit(c) || c == '+' || c == '-' || c == '.';
    });
}

// "%20" and the like decoded, as a URL's path names a file.
std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [](char c) -> int {
            if (IsAsciiDigit(c)) return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 &&
            hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A file name a link can hold as it is: letters, digits, "-", "_" and "."; others become "_".
std::string SafeName(std::string_view name) {
    std::string safe;
    for (const char c : name)
        safe += IsAsciiLetterOrDigit(c) || c == '-' || c == '.' ? c : '_';
    if (safe.empty() || safe.front() == '.') safe.insert(0, "file");
    return safe;
}

class Resources {
public:
    Resources(std::string folder, std::string sheet)
        : folder_(std::move(folder)), sheet_(std::move(sheet)) {}

    // The reference that takes the place of `reference` in the book's copy of the sheet;
    // none for one that names no file (data, a fragment), which stays as it is written.
    std::optional<std::string> Take(std::string_view reference) {
        if (reference.empty() || reference.front() == '#' ||
            EqualsIgnoringAsciiCase(reference.substr(0, 5), "data:"))
            return std::nullopt;
        if (HasScheme(reference))
            throw ConversionError({.kind = FailureKind::StyleSheetNamesNetwork,
                                   .path = sheet_,
                                   .value = std::string(reference)});
        // "font.svg#face" and "font.eot?#iefix" name the file before the marks.
        const std::size_t hash = reference.find('#');
        std::string fragment;
        if (hash != std::string_view::npos)
            for (const char c : reference.substr(hash)) // written back between double quotes
                fragment += c == '"' ? "%22" : c == '\\' ? "%5C" : std::string(1, c);
        const std::string relative =
            PercentDecoded(reference.substr(0, reference.find_first_of("?#")));
        const std::string path =
            std::filesystem::path(relative.starts_with('/') ? relative : folder_ + relative)
                .lexically_normal()
                .string();
        if (const auto known = byPath_.find(path); known != byPath_.end())
            return "files/" + known->second + fragment;
        const std::size_t dot = relative.rfind('.');
        const std::string extension =
            dot == std::string::npos ? std::string() : AsciiLowered(relative.substr(dot + 1));
        const auto type = std::ranges::find(kResourceTypes, extension, &ResourceType::extension);
        if (type == std::end(kResourceTypes))
            throw ConversionError({.kind = FailureKind::StyleSheetResourceKindUnknown,
                                   .path = sheet_,
                                   .otherPath = relative});
        const std::optional<std::int64_t> size = platform::RegularFileSize(path);
        const auto tooLarge = [&] {
            return ConversionError({.kind = FailureKind::StyleSheetResourceTooLarge,
                                    .path = sheet_,
                                    .otherPath = path});
        };
        if (size && static_cast<std::uint64_t>(*size) > kMaxResource) throw tooLarge();
        std::string bytes;
        try {
            bytes = ReadingFile(path, [&] { return platform::ReadWholeFile(path); });
        } catch (const platform::EStreamError& error) {
            if (error.Cause() == 0) throw ConversionError(FileFailure(error));
            throw ConversionError({.kind = FailureKind::StyleSheetResourceNotRead,
                                   .path = sheet_,
                                   .otherPath = path,
                                   .cause = error.Cause()});
        }
        if (bytes.size() > kMaxResource) throw tooLarge();
        if (!HasSignature(bytes, type->kind))
            throw ConversionError({.kind = FailureKind::StyleSheetResourceNotItsKind,
                                   .path = sheet_,
                                   .otherPath = path,
                                   .value = std::string(type->extension)});
        const std::size_t slash = relative.rfind('/');
        std::string name =
            SafeName(slash == std::string::npos ? relative : relative.substr(slash + 1));
        // Two files of one name from two folders are told apart by a number.
        for (std::size_t n = 2; taken_.contains(name); ++n)
            name = SafeName(std::to_string(n) + "-" + relative.substr(slash + 1));
        taken_.insert(name);
        byPath_[path] = name;
        list_.push_back(
            {std::string(kResourceFolder) + name, std::string(type->kind), std::move(bytes)});
        return "files/" + name + fragment;
    }

    std::vector<StyleResource> Taken() && { return std::move(list_); }

private:
    std::string folder_;
    std::string sheet_;                         // the style sheet's path, which failures name
    std::map<std::string, std::string> byPath_; // the file's path, its name in the book
    std::set<std::string> taken_;               // names in the book
    std::vector<StyleResource> list_;
};

// The end of the comment or string that starts at `at`.
std::size_t SkipCommentOrString(std::string_view css, std::size_t at) {
    if (css.substr(at, 2) == "/*") {
        const std::size_t end = css.find("*/", at + 2);
        return end == std::string_view::npos ? css.size() : end + 2;
    }
    const char quote = css[at];
    for (std::size_t i = at + 1; i < css.size(); ++i) {
        if (css[i] == '\\')
            ++i;
        else if (css[i] == quote || css[i] == '\n')
            return i + 1;
    }
    return css.size();
}

// The sheet with every url() naming the book's copy of its file.
std::string Relinked(std::string_view css, Resources& resources, const std::string& sheet) {
    std::string out;
    std::size_t copied = 0;
    for (std::size_t at = 0; at < css.size();) {
        const char c = css[at];
        if (css.substr(at, 2) == "/*" || c == '"' || c == '\'') {
            at = SkipCommentOrString(css, at);
            continue;
        }
        const bool wordStart = at == 0 || !(IsAsciiLetterOrDigit(css[at - 1]) ||
                                            css[at - 1] == '-' || css[at - 1] == '_');
        if (c == '@' && EqualsIgnoringAsciiCase(css.substr(at + 1, 6), "import"))
            throw ConversionError({.kind = FailureKind::StyleSheetImports, .path = sheet});
        if (!wordStart || !EqualsIgnoringAsciiCase(css.substr(at, 4), "url(")) {
            ++at;
            continue;
        }
        std::size_t i = at + 4;
        while (i < css.size() && (css[i] == ' ' || css[i] == '\t' || css[i] == '\n'))
            ++i;
        std::string reference;
        if (i < css.size() && (css[i] == '"' || css[i] == '\'')) {
            const std::size_t end = SkipCommentOrString(css, i);
            reference = std::string(css.substr(i + 1, end - i - 2));
            i = end;
        } else {
            const std::size_t end = css.find(')', i);
            reference = std::string(css.substr(i, end == std::string_view::npos ? 0 : end - i));
            i = end == std::string_view::npos ? css.size() : end;
        }
        while (!reference.empty() && (reference.back() == ' ' || reference.back() == '\t'))
            reference.pop_back();
        while (i < css.size() && (css[i] == ' ' || css[i] == '\t' || css[i] == '\n'))
            ++i;
        if (i >= css.size() || css[i] != ')')
            throw ConversionError({.kind = FailureKind::StyleSheetUrlNotClosed, .path = sheet});
        if (const std::optional<std::string> taken = resources.Take(reference)) {
            out.append(css.substr(copied, at - copied));
            out += "url(\"" + *taken + "\")";
            copied = i + 1;
        }
        at = i + 1;
    }
    out.append(css.substr(copied));
    return out;
}

} // namespace

UserStyleSheet ReadUserStyleSheet(const std::string& path) {
    const auto refuse = [&path](FailureKind kind) { throw ConversionError({kind, path}); };
    std::string css;
    try {
        css = ReadingFile(path, [&] { return platform::ReadWholeFile(path); });
    } catch (const platform::EStreamError& error) {
        throw ConversionError(FileFailure(error));
    }
    if (css.size() > kMaxStyleSheet) refuse(FailureKind::StyleSheetTooLarge);
    if (std::string_view(css).starts_with(kUtf8Mark)) css.erase(0, kUtf8Mark.size());
    if (FindInvalidUtf8(css) != css.size()) refuse(FailureKind::StyleSheetNotUtf8);
    if (css.find('\0') != std::string::npos) refuse(FailureKind::StyleSheetNotText);
    if (css.find_first_not_of(" \t\r\n") == std::string::npos) refuse(FailureKind::StyleSheetEmpty);
    const std::size_t slash = path.rfind('/');
    Resources resources(slash == std::string::npos ? std::string() : path.substr(0, slash + 1),
                        path);
    UserStyleSheet sheet;
    sheet.css = Relinked(css, resources, path);
    sheet.resources = std::move(resources).Taken();
    return sheet;
}

std::string_view StyleResourceMediaType(const StyleResource& resource, EpubVersion version) {
    const auto type = std::ranges::find(kResourceTypes, resource.kind, &ResourceType::kind);
    if (type == std::end(kResourceTypes)) return "application/octet-stream";
    return version == EpubVersion::Epub3 ? type->epub3Type : type->epub2Type;
}

} // namespace folivane::engine
