// The book's details: ISBNs and dates as users and headers write them, what headers and
// colophons say, and how the package document carries it all in each EPUB version.
#include "engine/chapters/HeaderFacts.h"
#include "engine/epub/BookDocuments.h"
#include "engine/epub/Isbn.h"
#include "engine/epub/PackageDocument.h"
#include "engine/epub/PackageMetadata.h"
#include "engine/epub/TitlePage.h"
#include "engine/text/CalendarDate.h"
#include "engine/text/LanguageNames.h"
#include "support/XmlTree.h"

#include <gtest/gtest.h>

#include <map>

namespace folivane::engine {
namespace {

using test::XmlTree;
using Strings = std::vector<std::string>;

struct IsbnCase {
    const char* row;
    std::string_view text;
    std::string isbn;     // empty: refused
    std::string_view why; // a word of the refusal
};

// Published examples whose check digits are known to be right.
const IsbnCase kIsbns[] = {
    {"Isbn10", "0306406152", "0306406152", ""},
    {"Isbn10WithHyphens", "0-306-40615-2", "0306406152", ""},
    {"Isbn10EndingInX", "0-8044-2957-x", "080442957X", ""},
    {"Isbn13", "9780306406157", "9780306406157", ""},
    {"Isbn13WithHyphensAndLabel", "ISBN 978-0-306-40615-7", "9780306406157", ""},
    {"Isbn13WithSpacesAndUrn", "urn:isbn:979 10 90636 07 1", "9791090636071", ""},
    {"Isbn13LabelWithColon", "ISBN-13: 978-0-306-40615-7", "9780306406157", ""},
    {"Isbn13WrongCheckDigit", "978-0-306-40615-8", "", "check digit is 8"},
    {"Isbn10WrongCheckDigit", "0-306-40615-3", "", "give 2"},
    {"TwelveDigits", "978030640615", "", "12 digits"},
    {"Letters", "978-0-3O6-40615-7", "", "only digits"},
    {"XNotLast", "08044X2957", "", "last character"},
    {"XInIsbn13", "978030640615X", "", "X"},
    {"Isbn13NotOfBooks", "1234567890128", "", "978 or 979"},
    {"Empty", "", "", "0 digits"},
};

class IsbnOf : public testing::TestWithParam<IsbnCase> {};

TEST_P(IsbnOf, IsCheckedByItsCheckDigit) {
    const IsbnCase& c = GetParam();
    const IsbnCheck check = CheckIsbn(c.text);
    EXPECT_EQ(check.isbn, c.isbn);
    if (c.isbn.empty()) {
        EXPECT_NE(check.problem.find(c.why), std::string::npos) << check.problem;
        EXPECT_NE(check.problem.find("\"" + std::string(c.text) + "\""), std::string::npos)
            << check.problem;
    } else {
        EXPECT_EQ(check.problem, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, IsbnOf, testing::ValuesIn(kIsbns),
                         [](const auto& row) { return std::string(row.param.row); });

struct DateCase {
    const char* row;
    std::string_view text;
    std::string date; // as BookDateOf reads it; empty: no date
};

const DateCase kDates[] = {
    {"EnglishMonthDayYear", "January 1, 1994 [eBook #1342]", "1994-01-01"},
    {"DayMonthYear", "29 February 2024", "2024-02-29"},
    {"MonthAndYear", "June, 1998", "1998-06"},
    {"ShortMonth", "Sep 2003 [EBook #4560]", "2003-09"},
    {"IsoDate", "2011-05-01", "2011-05-01"},
    {"YearOnly", "1922", "1922"},
    {"NoLeapDay", "February 29, 2023", ""},
    {"MonthThirteen", "2011-13-01", ""},
    {"JapaneseMade", "2004年1月5日作成", "2004-01-05"},
    {"JapaneseWithEra", "1938（昭和13）年10月1日第1刷発行", "1938-10-01"},
    {"FullWidthDigits", "２００４年１月５日作成", "2004-01-05"},
    {"NoDate", "eBook #1342", ""},
};

class DateOf : public testing::TestWithParam<DateCase> {};

TEST_P(DateOf, IsReadInTheFormBooksCarry) {
    const DateCase& c = GetParam();
    EXPECT_EQ(BookDateOf(c.text), c.date);
    if (!c.date.empty()) {
        EXPECT_TRUE(IsBookDate(c.date));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, DateOf, testing::ValuesIn(kDates),
                         [](const auto& row) { return std::string(row.param.row); });

TEST(BookDate, TakesOnlyWholeDatesTheCalendarHas) {
    for (const char* good : {"2024", "2024-02", "2024-02-29", "2000-02-29", "0001-01-01"})
        EXPECT_TRUE(IsBookDate(good)) << good;
    for (const char* bad : {"", "24", "2024-2", "2024-02-30", "1900-02-29", "2024-00", "2024-01-00",
                            "2024/01/01", "2024-01-01T00:00", "２０２４"})
        EXPECT_FALSE(IsBookDate(bad)) << bad;
}

TEST(LanguageTagOfName, ReadsTheNamesHeadersWrite) {
    const std::map<std::string, std::string> names = {
        {"English", "en"},
        {"french", "fr"},
        {"Greek", "el"},
        {"Dutch", "nl"},
        {"Chinese", "zh"},
        {"Japanese", "ja"},
        {"English, French", "en"},
        {"en", "en"},
        {"zh_tw", "zh-TW"},
        {"Elvish", ""},
        {"", ""},
    };
    for (const auto& [name, tag] : names)
        EXPECT_EQ(LanguageTagOfName(name), tag) << name;
}

struct HeaderCase {
    const char* row;
    std::string header;
    HeaderFacts facts;
};

const HeaderCase kHeaders[] = {
    {"ArchiveHeader",
     "The Project Gutenberg eBook of Le Horla\n\nTitle: Le Horla\nAuthor: Guy de Maupassant\n"
     "Translator: Ann Smith\nRelease date: March 1, 2004 [eBook #11522]\n"
     "Most recently updated: June 5, 2021\nLanguage: French\n\n*** START OF THE PROJECT "
     "GUTENBERG EBOOK LE HORLA ***\nTranslator: Not This One\n",
     {"2004-03-01", "Ann Smith", "fr"}},
    {"OlderHeader",
     "Title: X\r\nRelease Date: June, 1998  [Etext #1342]\r\nLanguage: English\r\n",
     {"1998-06", "", "en"}},
    {"TranslatedBy", "Translated by Constance Garnett\n", {"", "Constance Garnett", ""}},
    {"ChineseTranslator", "书名：战争与和平\n译者：草婴\n", {"", "草婴", ""}},
    {"UnreadableDate", "Release date: someday\n", {"", "", ""}},
    {"AfterTheHeader", std::string(60, '\n') + "Translator: Late\n", {"", "", ""}},
};

class HeaderFactsOfText : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderFactsOfText, AreTheHeadersOwn) {
    const HeaderFacts facts = HeaderFactsOf(GetParam().header);
    EXPECT_EQ(facts.date, GetParam().facts.date);
    EXPECT_EQ(facts.translator, GetParam().facts.translator);
    EXPECT_EQ(facts.language, GetParam().facts.language);
}

INSTANTIATE_TEST_SUITE_P(Headers, HeaderFactsOfText, testing::ValuesIn(kHeaders),
                         [](const auto& row) { return std::string(row.param.row); });

TEST(NotationFacts, TranslatorFromTheOpeningAndDateFromTheColophon) {
    const HeaderFacts facts =
        NotationFactsOf("絵のない絵本\nアンデルセン\n矢崎源九郎《やざきげんくろう》訳\n\n",
                        "底本：「絵のない絵本」新潮文庫\n　　　1952（昭和27）年10月30日発行\n"
                        "入力：A\n校正：B\n2004年1月5日作成\n2010年2月1日修正\n");
    EXPECT_EQ(facts.translator, "矢崎源九郎");
    EXPECT_EQ(facts.date, "2004-01-05"); // the file's, not the printed book's
    // The title line itself may end in 訳 ("新訳") and is no translator.
    EXPECT_EQ(NotationFactsOf("新訳\n著者\n", "").translator, "");
}

struct OpfCase {
    const char* row;
    BookDetails details;
    // XPath -> the values it selects, in each version.
    std::map<std::string, Strings> epub2;
    std::map<std::string, Strings> epub3;
};

const std::string kRefined = "//opf:meta[@refines='#";

const OpfCase kOpfCases[] = {
    {"Nothing",
     {},
     {{"//dc:description | //dc:subject | //dc:contributor | //dc:date", {}}},
     {{"//opf:meta[@property='belongs-to-collection'] | //dc:rights", {}}}},
    {"DescriptionWithMarkup",
     {.description = "A & B <i>\nsecond line"},
     {{"//dc:description", {"A & B <i>\nsecond line"}}},
     {{"//dc:description", {"A & B <i>\nsecond line"}}}},
    {"Subjects",
     {.subjects = {"Fiction", "Ghosts, French"}},
     {{"//dc:subject", {"Fiction", "Ghosts, French"}}},
     {{"//dc:subject", {"Fiction", "Ghosts, French"}}}},
    {"SeriesWithIndex",
     {.series = "Contes", .seriesIndex = "2.5"},
     {{"//opf:meta[@name='calibre:series']/@content", {"Contes"}},
      {"//opf:meta[@name='calibre:series_index']/@content", {"2.5"}}},
     {{"//opf:meta[@property='belongs-to-collection']", {"Contes"}},
      {kRefined + "series'][@property='collection-type']", {"series"}},
      {kRefined + "series'][@property='group-position']", {"2.5"}},
      {"//opf:meta[@name='calibre:series']/@content", {"Contes"}}}},
    {"SeriesAlone",
     {.series = "Contes"},
     {{"//opf:meta[@name='calibre:series_index']", {}}},
     {{kRefined + "series'][@property='group-position']", {}}}},
    {"Isbn",
     {.isbn = "9780306406157"},
     {{"//dc:identifier[@id='isbn']", {"urn:isbn:9780306406157"}},
      {"//dc:identifier[@id='isbn']/@opf:scheme", {"ISBN"}},
      {"/opf:package/@unique-identifier", {"PrimaryID"}}},
     {{"//dc:identifier[@id='isbn']", {"urn:isbn:9780306406157"}},
      {"/opf:package/@unique-identifier", {"PrimaryID"}}}},
    {"TranslatorAndContributors",
     {.translator = "Ann", .contributors = {"Bob", "Eve"}},
     {{"//dc:contributor", {"Ann", "Bob", "Eve"}},
      {"//dc:contributor/@opf:role", {"trl", "ctb", "ctb"}}},
     {{"//dc:contributor", {"Ann", "Bob", "Eve"}},
      {"//opf:meta[@property='role'][@scheme='marc:relators']", {"trl", "ctb", "ctb"}},
      {"//opf:meta[@property='role']/@refines", {"#translator", "#contributor1", "#contributor2"}},
      {"//dc:contributor/@id", {"translator", "contributor1", "contributor2"}}}},
    {"DateAndRights",
     {.date = "1887-05", .rights = "Public domain"},
     {{"//dc:date", {"1887-05"}},
      {"//dc:date/@opf:event", {"publication"}},
      {"//dc:rights", {"Public domain"}}},
     {{"//dc:date", {"1887-05"}}, {"//dc:rights", {"Public domain"}}}},
};

class DetailsInThePackage : public testing::TestWithParam<OpfCase> {};

TEST_P(DetailsInThePackage, AreReadBackInEachVersion) {
    for (const EpubVersion version : {EpubVersion::Epub2, EpubVersion::Epub3}) {
        BookMetadata book{"T", "A", "", "0f0e0d0c-0b0a-4908-8706-050403020100", "en", version};
        book.details = GetParam().details;
        const XmlTree opf(BuildContentOpf(book, 1, nullptr));
        ASSERT_EQ(opf.Error(), "");
        const auto& expected = version == EpubVersion::Epub2 ? GetParam().epub2 : GetParam().epub3;
        for (const auto& [xpath, values] : expected)
            EXPECT_EQ(opf.Values(xpath), values)
                << "EPUB " << static_cast<int>(version) << ": " << xpath;
    }
}

INSTANTIATE_TEST_SUITE_P(Details, DetailsInThePackage, testing::ValuesIn(kOpfCases),
                         [](const auto& row) { return std::string(row.param.row); });

// The documents MakeBookDocuments gives, by name.
class Documents : public DocumentSink {
public:
    void Add(const std::string& name, std::string_view bytes, const FileList*) override {
        bytes_[name] = std::string(bytes);
    }
    std::map<std::string, std::string> bytes_;
};

const std::string kAccess = "//opf:meta[@property='schema:";

TEST(Accessibility, Epub3SaysWhatTheBookOffersAndRubyOnlyWhereThereIsSome) {
    BookMetadata book{
        "吾輩は猫である",  "夏目漱石", "", "0f0e0d0c-0b0a-4908-8706-050403020100", "ja",
        EpubVersion::Epub3};
    const CoverImage cover{"png", "image/png", ""};
    const auto ruby = std::make_shared<std::string>("吾輩《わがはい》は猫である。");
    TChapterList pages{{"一", "/a.txt", ruby, 0, ruby->size()}};
    pages[0].Notation = true;
    Documents withRuby;
    MakeBookDocuments(book, pages, &cover, "", withRuby);
    const XmlTree opf(withRuby.bytes_["OEBPS/content.opf"]);
    ASSERT_EQ(opf.Error(), "");
    EXPECT_EQ(opf.Values(kAccess + "accessMode']"), (Strings{"textual", "visual"}));
    EXPECT_EQ(opf.Values(kAccess + "accessModeSufficient']"), Strings{"textual"});
    EXPECT_EQ(opf.Values(kAccess + "accessibilityFeature']"),
              (Strings{"tableOfContents", "readingOrder", "structuralNavigation", "alternativeText",
                       "rubyAnnotations"}));
    EXPECT_EQ(opf.Values(kAccess + "accessibilityHazard']"), Strings{"none"});
    EXPECT_EQ(opf.Value(kAccess + "accessibilitySummary']/@xml:lang"), "ja");
    // Nothing is claimed that was not checked.
    EXPECT_EQ(opf.Count("//opf:meta[@property='dcterms:conformsTo']"), 0u);
    // The cover's page tells its picture by the book's title and author.
    const XmlTree page(withRuby.bytes_["OEBPS/titlepage.xhtml"]);
    EXPECT_EQ(page.Value("//h:img/@alt"), "吾輩は猫である — 夏目漱石");
    EXPECT_EQ(page.Value("//h:title"), "吾輩は猫である");

    const auto plain = std::make_shared<std::string>("猫である。");
    Documents withoutRuby;
    MakeBookDocuments(book, {{"一", "/a.txt", plain, 0, plain->size()}}, nullptr, "", withoutRuby);
    const XmlTree bare(withoutRuby.bytes_["OEBPS/content.opf"]);
    EXPECT_EQ(bare.Values(kAccess + "accessMode']"), Strings{"textual"});
    EXPECT_EQ(bare.Count(kAccess + "accessibilityFeature'][.='rubyAnnotations' or "
                                   ".='alternativeText']"),
              0u);
}

TEST(Accessibility, SummaryIsInTheBooksLanguageOrElseEnglish) {
    const std::map<std::string, std::string> languages = {
        {"zh-CN", "zh-Hans"},      {"zh", "zh-Hans"},    {"zh-TW", "zh-Hant"},
        {"zh-Hant-HK", "zh-Hant"}, {"zh-HK", "zh-Hant"}, {"ja", "ja"},
        {"en-GB", "en"},           {"fr", "en"},         {"jav", "en"}};
    for (const auto& [book, summary] : languages)
        EXPECT_EQ(AccessibilitySummaryFor(book, false).language, summary) << book;
    // Traditional and Simplified texts are not the same text.
    EXPECT_NE(AccessibilitySummaryFor("zh-TW", true).text,
              AccessibilitySummaryFor("zh-CN", true).text);
}

} // namespace
} // namespace folivane::engine
