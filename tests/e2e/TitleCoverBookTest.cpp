// Books given no cover picture: the cover made from the title, or none and one notice when no
// font has the title's characters; and the details of the book, all read back and validated.
#include "support/BookFixtures.h"

#include "engine/job/BookPlan.h"
#include "engine/job/ConversionJob.h"
#include "support/TestSupport.h"
#include "support/XmlTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace folivane::test {
namespace {

using Strings = std::vector<std::string>;

// Also records the notice of a cover that could not be made.
class CoverSink : public RecordingSink {
public:
    void CoverNotice(const std::string& problem) override { coverNotices.push_back(problem); }
    Strings coverNotices;
};

class TitleCoverBook : public ::testing::TestWithParam<int> {
protected:
    std::string Convert(engine::BookInput input, const std::string& output, CoverSink& sink) {
        input.outputPath = scratch / output;
        input.epubVersion = static_cast<engine::EpubVersion>(GetParam());
        ::mkdir((scratch / "tmp").c_str(), 0700);
        engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "tmp/");
        engine::DoTask(input, tree, sink);
        EXPECT_EQ(sink.events.back(), "result 0") << output << ": " << sink.reason;
        return input.outputPath;
    }

    // content.opf of the book at `path`.
    std::string Package(const std::string& path) {
        const std::string folder = scratch / "unpacked";
        RunCommand("rm -rf '" + folder + "' && unzip -q -d '" + folder + "' '" + path + "'");
        return ReadFile(folder + "/OEBPS/content.opf");
    }

    ScratchFolder scratch;
};

TEST_P(TitleCoverBook, GetsTheCoverOfItsTitleWithItsLandmarksAndDetails) {
    engine::BookInput input;
    // The header names the date, the translator and the language the user left out.
    input.sources = {scratch / "horla.txt"};
    WriteFile(input.sources[0],
              "Title: Le Horla\nAuthor: Guy de Maupassant\nTranslator: Ann Smith\n"
              "Release date: March 1, 2004 [eBook #11522]\nLanguage: French\n\n"
              "*** START OF THE PROJECT GUTENBERG EBOOK LE HORLA ***\n\nJe suis ici.\n");
    input.titleCover = true;
    input.details = {.description = "Un homme & son double",
                     .subjects = {"Fantastique"},
                     .series = "Contes",
                     .seriesIndex = "2",
                     .isbn = "978-0-306-40615-7",
                     .contributors = {"Bob"},
                     .rights = "Public domain"};
    CoverSink sink;
    const std::string path = Convert(input, "horla.epub", sink);
    EXPECT_EQ(sink.coverNotices, Strings{});

    const XmlTree opf(Package(path));
    ASSERT_EQ(opf.Error(), "");
    EXPECT_EQ(opf.Value("//opf:item[@id='cover']/@href"), "cover.png");
    EXPECT_EQ(opf.Values("//opf:guide/opf:reference/@type"), (Strings{"cover", "toc", "text"}));
    EXPECT_EQ(opf.Values("//dc:language"), Strings{"fr"});
    EXPECT_EQ(opf.Values("//dc:date"), Strings{"2004-03-01"});
    EXPECT_EQ(opf.Values("//dc:contributor"), (Strings{"Ann Smith", "Bob"}));
    EXPECT_EQ(opf.Values("//dc:identifier"),
              (Strings{opf.Value("//dc:identifier[@id='PrimaryID']"), "urn:isbn:9780306406157"}));
    EXPECT_EQ(opf.Value("//opf:meta[@name='calibre:series_index']/@content"), "2");

    ExpectedBook book;
    book.path = path;
    book.title = "Le Horla";
    book.coverMediaType = "image/png";
    book.epubVersion = GetParam();
    EXPECT_EQ(CheckBooks({book}, scratch.Path()), "");
}

TEST_P(TitleCoverBook, WithoutAFontForItsTitleHasNoCoverAndSaysSoOnce) {
    WriteFile(scratch / "fonts.conf",
              "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
              "<fontconfig><dir>" +
                  scratch.Path() + "none</dir><cachedir>" + scratch.Path() +
                  "cache</cachedir></fontconfig>\n");
    const std::string config = scratch / "fonts.conf";
    const ScopedEnv env("FONTCONFIG_FILE", config.c_str());
    engine::BookInput input;
    input.sources = {scratch / "a.txt"};
    WriteFile(input.sources[0], "text");
    input.title = "The Ferry";
    input.titleCover = true;
    CoverSink sink;
    const std::string path = Convert(input, "a.epub", sink);
    ASSERT_EQ(sink.coverNotices.size(), 1u);
    EXPECT_EQ(sink.coverNotices[0].find('\n'), std::string::npos) << sink.coverNotices[0];
    const XmlTree opf(Package(path));
    EXPECT_EQ(opf.Count("//opf:item[@id='cover'] | //opf:meta[@name='cover']"), 0u);
    EXPECT_EQ(opf.Values("//opf:guide/opf:reference/@type"), (Strings{"toc", "text"}));

    // Not asked for: no cover and nothing to say.
    input.titleCover = false;
    CoverSink quiet;
    Convert(input, "b.epub", quiet);
    EXPECT_EQ(quiet.coverNotices, Strings{});
}

INSTANTIATE_TEST_SUITE_P(Epub, TitleCoverBook, ::testing::Values(2, 3),
                         [](const auto& row) { return "Epub" + std::to_string(row.param); });

TEST(BookPlanDetails, JapaneseTextGivesItsTranslatorAndDateAndTheUserWins) {
    const ScratchFolder scratch;
    engine::BookInput input;
    input.sources = {scratch / "ehon.txt"};
    WriteFile(
        input.sources[0],
        "絵のない絵本\nアンデルセン\n矢崎源九郎訳\n\n［＃中見出し］第一夜［＃中見出し終わり］\n"
        "\n　月が話しました。\n\n底本：「絵のない絵本」新潮文庫\n"
        "　　　1952（昭和27）年10月30日発行\n入力：A\n2004年1月5日作成\n");
    engine::BookPlan plan = engine::PlanBook(input);
    EXPECT_EQ(plan.details.translator, "矢崎源九郎");
    EXPECT_EQ(plan.details.date, "2004-01-05");
    EXPECT_EQ(plan.cover.kind, engine::CoverPlan::Kind::None); // not asked for
    input.details.translator = "Someone Else";
    input.details.date = "1954";
    plan = engine::PlanBook(input);
    EXPECT_EQ(plan.details.translator, "Someone Else");
    EXPECT_EQ(plan.details.date, "1954");
    // What the front ends check, the engine refuses too, naming it.
    input.details.isbn = "978-0-306-40615-8";
    try {
        engine::PlanBook(input);
        ADD_FAILURE() << "a wrong check digit was taken";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find("978-0-306-40615-8"), std::string::npos);
    }
}

} // namespace
} // namespace folivane::test
