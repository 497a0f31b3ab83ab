// Entry data: stored or raw deflate, CRC-32 and sizes, the blocks the archive receives.
#include "ZipTestSupport.h"

#include "zip/EntryCompressor.h"
#include "zip/ZipErrors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <zlib.h>

namespace folivane::zip::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

// What the archive stream receives, call by call.
struct Sink {
    std::string bytes;
    std::vector<std::size_t> blocks;

    BlockSink Function() {
        return [this](const std::uint8_t* data, std::size_t count) {
            bytes.append(reinterpret_cast<const char*>(data), count);
            blocks.push_back(count);
        };
    }
};

// Inflates a raw deflate stream (no zlib header or trailer).
std::string Inflate(const std::string& deflated) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
    std::string out;
    std::string input = deflated;
    z.next_in = reinterpret_cast<Bytef*>(input.data());
    z.avail_in = static_cast<uInt>(input.size());
    int result = Z_OK;
    while (result == Z_OK) {
        char buffer[65536];
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    EXPECT_EQ(result, Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u) << "bytes after the end of the deflate stream";
    inflateEnd(&z);
    return out;
}

std::uint32_t Crc(const std::string& data) {
    return static_cast<std::uint32_t>(
        crc32_z(0, reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

TEST(EntryCompressor, TakesTheCheckValueOfTheStandardCrc32) {
    MemoryStream forStore("123456789");
    MemoryStream forDeflate("123456789");
    Sink stored;
    Sink deflated;

    EXPECT_EQ(StoreEntry(forStore, stored.Function()).crc32, 0xCBF43926u);
    EXPECT_EQ(DeflateEntry(forDeflate, 6, deflated.Function()).crc32, 0xCBF43926u);
}

TEST(EntryCompressor, DeflatesAnEmptySourceToAnEmptyFinalBlock) {
    MemoryStream source;
    Sink sink;

    const EntryData data = DeflateEntry(source, 6, sink.Function());

    EXPECT_EQ(sink.bytes, std::string("\x03\x00", 2));
    EXPECT_EQ(data.crc32, 0u);
    EXPECT_EQ(data.bytesRead, 0u);
    EXPECT_EQ(data.bytesWritten, 2u);
}

struct SizeRow {
    const char* name;
    std::size_t size;
    bool random;
};

void PrintTo(const SizeRow& row, std::ostream* out) {
    *out << row.name;
}

class EntryCompressorSizes : public ::testing::TestWithParam<SizeRow> {};

TEST_P(EntryCompressorSizes, DeflatesToAStreamThatInflatesToTheSource) {
    const SizeRow& row = GetParam();
    const std::string source = row.random ? RandomBytes(row.size, 11) : SampleText(row.size);
    MemoryStream input(source);
    Sink sink;

    const EntryData data = DeflateEntry(input, 6, sink.Function());

    EXPECT_EQ(Inflate(sink.bytes), source);
    EXPECT_EQ(data.bytesRead, row.size);
    EXPECT_EQ(data.bytesWritten, sink.bytes.size());
    EXPECT_EQ(data.crc32, Crc(source));
    // Every block but the last is a full output buffer: no gap, no overlap between them.
    ASSERT_FALSE(sink.blocks.empty());
    const std::vector<std::size_t> full(sink.blocks.begin(), sink.blocks.end() - 1);
    EXPECT_THAT(full, Each(kDeflateBlock));
}

TEST_P(EntryCompressorSizes, StoresTheSourceUnchanged) {
    const SizeRow& row = GetParam();
    const std::string source = row.random ? RandomBytes(row.size, 12) : SampleText(row.size);
    MemoryStream input(source);
    Sink sink;

    const EntryData data = StoreEntry(input, sink.Function());

    EXPECT_EQ(sink.bytes, source);
    EXPECT_EQ(data.bytesRead, row.size);
    EXPECT_EQ(data.crc32, Crc(source));
}

INSTANTIATE_TEST_SUITE_P(Sizes, EntryCompressorSizes,
                         ::testing::Values(SizeRow{"empty", 0, false}, SizeRow{"one", 1, false},
                                           SizeRow{"block_less_one", 65534, false},
                                           SizeRow{"block", 65535, false},
                                           SizeRow{"block_plus_one", 65536, false},
                                           SizeRow{"text_200000", 200000, false},
                                           SizeRow{"random_1", 1, true},
                                           SizeRow{"random_200000", 200000, true}),
                         RowName());

TEST(EntryCompressor, WritesAShortDeflateStreamInOneBlock) {
    MemoryStream input(SampleText(300000)); // shrinks far below one output buffer
    Sink sink;

    DeflateEntry(input, 6, sink.Function());

    EXPECT_EQ(sink.blocks.size(), 1u);
}

TEST(EntryCompressor, WritesALongDeflateStreamInSeveralBlocks) {
    MemoryStream input(RandomBytes(200000, 13));
    Sink sink;

    DeflateEntry(input, 6, sink.Function());

    EXPECT_THAT(sink.blocks, ElementsAre(kDeflateBlock, kDeflateBlock, kDeflateBlock,
                                         sink.bytes.size() - 3 * kDeflateBlock));
}

TEST(EntryCompressor, KeepsDeflatingWhenTheResultIsLongerThanTheSource) {
    MemoryStream input("xy");
    Sink sink;

    const EntryData data = DeflateEntry(input, 6, sink.Function());

    EXPECT_GT(data.bytesWritten, 2u);
    EXPECT_EQ(Inflate(sink.bytes), "xy");
}

TEST(EntryCompressor, RefusesALevelZlibDoesNotKnow) {
    MemoryStream input("data");
    Sink sink;

    try {
        DeflateEntry(input, 10, sink.Function());
        FAIL() << "no exception";
    } catch (const EZCompressionError& e) {
        EXPECT_STREQ(e.what(), "error");
    }
    EXPECT_TRUE(sink.bytes.empty());
}

TEST(EntryCompressor, ReusedDeflaterWritesWhatAFreshOneWrites) {
    const std::vector<std::string> sources = {SampleText(300000), "", RandomBytes(70000, 5), "x",
                                              SampleText(65536)};
    TDeflater reused(6);
    for (const std::string& source : sources) {
        MemoryStream once(source);
        MemoryStream again(source);
        Sink fresh;
        Sink second;
        const EntryData expected = DeflateEntry(once, 6, fresh.Function());
        const EntryData got = reused.Deflate(again, second.Function());
        EXPECT_EQ(second.bytes, fresh.bytes) << source.size() << " bytes";
        EXPECT_EQ(got.crc32, expected.crc32);
        EXPECT_EQ(got.bytesRead, expected.bytesRead);
    }
}

TEST(EntryCompressor, DeflaterRecoversAfterAnEntryFailedHalfway) {
    const std::string source = RandomBytes(200000, 8);
    TDeflater deflater(6);
    MemoryStream first(source);
    int calls = 0;
    EXPECT_THROW(deflater.Deflate(first,
                                  [&](const std::uint8_t*, std::size_t) {
                                      if (++calls == 2) throw ENotEnoughRoom("full");
                                  }),
                 ENotEnoughRoom);
    MemoryStream second(source);
    Sink sink;
    deflater.Deflate(second, sink.Function());
    EXPECT_EQ(Inflate(sink.bytes), source);
}

TEST(EntryCompressor, AcceptsZlibsDefaultLevel) {
    MemoryStream input(SampleText(1000));
    Sink sink;

    DeflateEntry(input, -1, sink.Function());

    EXPECT_EQ(Inflate(sink.bytes), SampleText(1000));
}

TEST(EntryCompressor, FinishesTheHeaderWithMethodSizesAndCrc) {
    TZipHeaderInfo deflated;
    TZipHeaderInfo stored;
    const EntryData data{100, 40, 0x12345678};

    FinishEntry(deflated, false, data, 6);
    FinishEntry(stored, true, data, 6);

    EXPECT_EQ(deflated.Method, 8u);
    EXPECT_EQ(deflated.CompressedSize, 40u);
    EXPECT_EQ(deflated.UncompressedSize, 100u);
    EXPECT_EQ(deflated.Crc32, 0x12345678u);
    EXPECT_EQ(stored.Method, 0u);
    EXPECT_EQ(stored.CompressedSize, 100u);
}

struct NoCompressRow {
    const char* name;
    std::vector<std::string> masks;
    const char* fileName;
    bool stored;
};

void PrintTo(const NoCompressRow& row, std::ostream* out) {
    *out << row.name;
}

class NoCompressList : public ::testing::TestWithParam<NoCompressRow> {};

TEST_P(NoCompressList, DecidesWhichFilesAreStored) {
    const NoCompressRow& row = GetParam();
    EXPECT_EQ(IsNoCompressFile(row.masks, row.fileName), row.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, NoCompressList,
    ::testing::Values(
        NoCompressRow{"empty_list_stores_nothing", {}, "mimetype", false},
        NoCompressRow{"mimetype_by_name", {"mimetype"}, "mimetype", true},
        NoCompressRow{"other_names_are_deflated", {"mimetype"}, "toc.ncx", false},
        NoCompressRow{"both_sides_lower_cased", {"*.JPG"}, "cover.jpg", true},
        NoCompressRow{"any_mask_of_the_list", {"*.png", "*.gif"}, "a.GIF", true},
        NoCompressRow{"name_mask_sees_the_last_component", {"*.jpg"}, "OEBPS/images/c.jpg", true},
        NoCompressRow{"path_mask_sees_the_whole_name", {"oebps/*.jpg"}, "OEBPS/c.jpg", true}),
    RowName());

} // namespace
} // namespace folivane::zip::test
