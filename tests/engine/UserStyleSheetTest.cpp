// The user's style sheet: the fonts and pictures it names come into the book, or it is refused
// with the reason.
#include "engine/epub/UserStyleSheet.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace folivane::engine {
namespace {

const std::string kTtf("\0\1\0\0font", 8);

struct SheetCase {
    const char* name;
    std::string css;
    std::vector<std::pair<std::string, std::string>> files; // beside the sheet
    std::string relinked;                                   // empty: refused
    std::vector<std::string> hrefs = {};
    std::string refusal = {}; // part of the reason
};

void PrintTo(const SheetCase& sheet, std::ostream* out) {
    *out << sheet.name;
}

class UserStyleSheetOf : public testing::TestWithParam<SheetCase> {};

TEST_P(UserStyleSheetOf, BringsItsFilesOrSaysWhyNot) {
    const SheetCase& sheet = GetParam();
    test::ScratchFolder scratch;
    for (const auto& [name, bytes] : sheet.files) {
        std::filesystem::create_directories(std::filesystem::path(scratch / name).parent_path());
        test::WriteFile(scratch / name, bytes);
    }
    test::WriteFile(scratch / "mine.css", sheet.css);
    if (sheet.relinked.empty()) {
        try {
            ReadUserStyleSheet(scratch / "mine.css");
            ADD_FAILURE() << "not refused";
        } catch (const ConversionError& error) {
            EXPECT_THAT(error.what(), testing::HasSubstr(sheet.refusal));
            EXPECT_THAT(error.what(), testing::HasSubstr("mine.css"));
        }
        return;
    }
    const UserStyleSheet read = ReadUserStyleSheet(scratch / "mine.css");
    EXPECT_EQ(read.css, sheet.relinked);
    std::vector<std::string> hrefs;
    for (const StyleResource& resource : read.resources)
        hrefs.push_back(resource.href);
    EXPECT_THAT(hrefs, testing::ElementsAreArray(sheet.hrefs));
}

const SheetCase kSheets[] = {
    {"FontAndPictureComeAlong",
     "@font-face{src:url('fonts/My%20Serif.ttf#face') format('truetype')}\n"
     "body{background:URL( paper.png )}",
     {{"fonts/My Serif.ttf", kTtf}, {"paper.png", "\x89PNG\r\n\x1A\nrest"}},
     "@font-face{src:url(\"files/My_Serif.ttf#face\") format('truetype')}\n"
     "body{background:url(\"files/paper.png\")}",
     {"css/files/My_Serif.ttf", "css/files/paper.png"}},
    {"OneFileNamedTwiceComesOnce",
     "a{src:url(f.ttf)}b{src:url(\"./f.ttf\")}",
     {{"f.ttf", kTtf}},
     "a{src:url(\"files/f.ttf\")}b{src:url(\"files/f.ttf\")}",
     {"css/files/f.ttf"}},
    {"SameNameFromTwoFoldersKeptApart",
     "a{src:url(a/f.ttf)}b{src:url(b/f.ttf)}",
     {{"a/f.ttf", kTtf}, {"b/f.ttf", kTtf}},
     "a{src:url(\"files/f.ttf\")}b{src:url(\"files/2-f.ttf\")}",
     {"css/files/f.ttf", "css/files/2-f.ttf"}},
    {"DataFragmentsCommentsAndStringsStay",
     "/* url(no.png) */a{background:url(data:image/png;base64,AA==);mask:url(#m);"
     "content:\"url(no.png)\"}",
     {},
     "/* url(no.png) */a{background:url(data:image/png;base64,AA==);mask:url(#m);"
     "content:\"url(no.png)\"}"},
    {"RemoteFontRefused", "a{src:url(https://fonts.example/a.woff2)}", {}, "", {}, "network"},
    {"SchemeLessRemoteRefused", "a{src:url(//fonts.example/a.woff2)}", {}, "", {}, "network"},
    {"ImportRefused", "@import \"more.css\";", {{"more.css", "p{}"}}, "", {}, "@import"},
    {"MissingFileRefused", "a{src:url(gone.ttf)}", {}, "", {}, "gone.ttf"},
    {"OtherKindOfFileRefused", "a{src:url(x.eot)}", {{"x.eot", "eot"}}, "", {}, "x.eot"},
    {"ContentNotAsNamedRefused",
     "a{background:url(p.png)}",
     {{"p.png", "<html>"}},
     "",
     {},
     "is not a png file"},
    {"UnclosedUrlRefused", "a{src:url(f.ttf}", {{"f.ttf", kTtf}}, "", {}, "not closed"},
};

INSTANTIATE_TEST_SUITE_P(Sheets, UserStyleSheetOf, testing::ValuesIn(kSheets),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::engine
