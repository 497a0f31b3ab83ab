// The book decided once: the contents --list prints as JSON are the contents the book lists,
// in toc.ncx and in the navigation document, with the title and language the book carries.
#include "PlanListing.h"

#include "engine/epub/BookLayout.h"
#include "engine/job/BookPlan.h"
#include "engine/job/ConversionJob.h"
#include "engine/job/WorkingTree.h"
#include "support/BookFixtures.h"
#include "support/PlanCases.h"
#include "support/TestSupport.h"
#include "support/XmlTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace folivane::test {
namespace {

std::vector<Outline> JsonOutline(const nlohmann::json& entries, engine::EpubVersion version) {
    std::vector<Outline> outline;
    for (const nlohmann::json& entry : entries)
        outline.push_back({entry.at("label").get<std::string>(),
                           engine::PageFileName(entry.at("page").get<std::size_t>(), version),
                           JsonOutline(entry.at("children"), version)});
    return outline;
}

// The labels in reading order, as a reader pages through the contents.
void Flatten(const std::vector<Outline>& outline, std::vector<std::string>& labels) {
    for (const Outline& entry : outline) {
        labels.push_back(entry.label);
        Flatten(entry.within, labels);
    }
}

std::string Entry(const std::string& book, const std::string& name) {
    return RunCommand("unzip -p " + ShellQuote(book) + " " + ShellQuote(name)).output;
}

class PlanAgreement : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanAgreement, ListingIsTheBooksContents) {
    const ScratchFolder scratch;
    const engine::BookInput input = WritePlanCase(GetParam(), scratch.Path());
    const nlohmann::json listed = nlohmann::json::parse(cli::PlanAsJson(engine::PlanBook(input)));
    engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "");
    RecordingSink sink;
    engine::DoTask(input, tree, sink);
    ASSERT_EQ(sink.events.back(), "result 0") << sink.reason;

    const std::vector<Outline> contents = JsonOutline(listed.at("contents"), input.epubVersion);
    const XmlTree ncx(Entry(input.outputPath, "OEBPS/toc.ncx"));
    EXPECT_EQ(NcxOutline(ncx), contents);
    if (input.epubVersion == engine::EpubVersion::Epub3) {
        EXPECT_EQ(NavOutline(XmlTree(Entry(input.outputPath, "OEBPS/nav.xhtml")), "toc"), contents);
    }
    const XmlTree opf(Entry(input.outputPath, "OEBPS/content.opf"));
    EXPECT_EQ(opf.Value("//dc:title"), listed.at("title").get<std::string>());
    EXPECT_EQ(opf.Value("//dc:language"), listed.at("language").get<std::string>());
    EXPECT_EQ(opf.Value("//dc:creator"), listed.at("author").get<std::string>());

    std::vector<std::string> labels;
    Flatten(contents, labels);
    for (std::size_t i = 1; i < labels.size(); ++i)
        EXPECT_NE(labels[i], labels[i - 1]) << "neighbouring entries " << i - 1 << " and " << i;
}

INSTANTIATE_TEST_SUITE_P(Books, PlanAgreement, testing::ValuesIn(PlanCases()),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::test
