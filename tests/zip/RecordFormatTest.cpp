// Byte images of the three zip records, reading a central header back, and the end record search.
#include "ZipTestSupport.h"

#include "zip/EndCentral.h"
#include "zip/ZipErrors.h"
#include "zip/ZipHeaderInfo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::zip::test {
namespace {

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!text.empty()) text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

// An entry as the archive job fills it for "OEBPS/css/main.css".
TZipHeaderInfo SampleHeader() {
    TZipHeaderInfo header;
    header.Flags = 0x0002;
    header.Method = 8;
    header.FileDateTime = 0x3E6751EF;
    header.Crc32 = 0xCBF43926;
    header.CompressedSize = 0x01020304;
    header.UncompressedSize = 0x05060708;
    header.InternalAttributes = 0;
    header.ExternalAttributes = 0x21;
    header.SetDirectory("OEBPS/css");
    header.SetFileName("main.css");
    return header;
}

TEST(RecordFormat, WritesTheLocalHeaderAtTheStreamPosition) {
    TZipHeaderInfo header = SampleHeader();
    MemoryStream archive(std::string(5, '.'));
    archive.Seek(5, soBeginning);

    header.SaveLocalHeader(archive);

    EXPECT_EQ(header.LocalHeaderOffset, 5u);
    EXPECT_EQ(Hex(archive.Bytes().substr(5)),
              "50 4B 03 04 14 00 02 00 08 00 EF 51 67 3E 26 39 F4 CB 04 03 02 01 08 07 06 05 "
              "12 00 00 00 " +
                  Hex("OEBPS/css/main.css"));
}

TEST(RecordFormat, WritesTheCentralHeaderWithNameAndComment) {
    TZipHeaderInfo header = SampleHeader();
    header.LocalHeaderOffset = 0x11223344;
    header.DiskStart = 0;
    header.SetFileComment("Hi");
    MemoryStream archive;

    header.SaveCentralHeader(archive);

    EXPECT_EQ(Hex(archive.Bytes()),
              "50 4B 01 02 2D 00 14 00 02 00 08 00 EF 51 67 3E 26 39 F4 CB 04 03 02 01 08 07 06 "
              "05 12 00 00 00 02 00 00 00 00 00 21 00 00 00 44 33 22 11 " +
                  Hex("OEBPS/css/main.css") + " 48 69");
}

TEST(RecordFormat, WritesTheEndRecordWithBothCounts) {
    TEndCentral end;
    end.EntriesThisDisk = 3;
    end.TotalEntries = 3;
    end.CentralSize = 0x000000A0;
    end.CentralOffset = 0x00012345;
    MemoryStream archive;

    end.SaveEndRecord(archive);

    EXPECT_EQ(Hex(archive.Bytes()),
              "50 4B 05 06 00 00 00 00 03 00 03 00 A0 00 00 00 45 23 01 00 00 00");
}

TEST(RecordFormat, WritesAnArchiveCommentAfterTheEndRecord) {
    TEndCentral end;
    end.SetArchiveComment("note");
    MemoryStream archive;

    end.SaveEndRecord(archive);

    EXPECT_EQ(archive.Bytes().size(), 26u);
    EXPECT_EQ(GetU16(archive.Bytes(), 20), 4u);
    EXPECT_EQ(archive.Bytes().substr(22), "note");
}

TEST(RecordFormat, KeepsNameLengthAndTrailingSlashInStep) {
    TZipHeaderInfo header;
    header.SetFileName("0.html");
    header.SetDirectory("OEBPS");

    EXPECT_EQ(header.Directory(), "OEBPS/");
    EXPECT_EQ(header.StoredName(), "OEBPS/0.html");
    EXPECT_EQ(header.NameLength, 12u);
}

TEST(RecordFormat, ReadsBackTheCentralHeaderItWrote) {
    TZipHeaderInfo written = SampleHeader();
    written.LocalHeaderOffset = 1234;
    written.SetFileComment("comment");
    MemoryStream archive;
    written.SaveCentralHeader(archive);
    archive.Seek(0, soBeginning);

    TZipHeaderInfo read;
    ASSERT_TRUE(read.ReadCentralHeader(archive));

    EXPECT_EQ(read.StoredName(), "OEBPS/css/main.css");
    EXPECT_EQ(read.FileName(), "main.css");
    EXPECT_EQ(read.Crc32, written.Crc32);
    EXPECT_EQ(read.CompressedSize, written.CompressedSize);
    EXPECT_EQ(read.UncompressedSize, written.UncompressedSize);
    EXPECT_EQ(read.FileDateTime, written.FileDateTime);
    EXPECT_EQ(read.ExternalAttributes, 0x21u);
    EXPECT_EQ(read.LocalHeaderOffset, 1234u);
    EXPECT_EQ(read.CommentLength, 7u);
    // Positioned right after the name; the comment is read when it is needed.
    EXPECT_EQ(archive.Position(), 46 + 18);
}

TEST(RecordFormat, LeavesTheStreamWhereItWasWhenNoCentralHeaderIsThere) {
    TZipHeaderInfo written = SampleHeader();
    MemoryStream local;
    written.SaveLocalHeader(local); // a local header is no central header
    MemoryStream truncated;
    written.SaveCentralHeader(truncated);
    std::string shortName = truncated.Bytes().substr(0, 50); // the name is cut
    MemoryStream cut(shortName);

    for (MemoryStream* stream : {&local, &cut}) {
        stream->Seek(0, soBeginning);
        TZipHeaderInfo header;
        EXPECT_FALSE(header.ReadCentralHeader(*stream));
        EXPECT_EQ(stream->Position(), 0);
    }
}

// A central header whose sizes and offset overflowed into a Zip64 block, followed by
// another extra block that a rewrite must keep.
std::string CentralHeaderWithZip64() {
    TZipHeaderInfo header = SampleHeader();
    MemoryStream image;
    header.SaveCentralHeader(image);
    std::string bytes = image.Bytes();
    PutU32(bytes, 20, 0xFFFFFFFF); // compressed size
    PutU32(bytes, 24, 0xFFFFFFFF); // uncompressed size
    std::string zip64 = std::string("\x01\x00\x10\x00", 4);
    zip64 += std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8); // uncompressed 4 GiB
    zip64 += std::string("\x10\x00\x00\x00\x00\x00\x00\x00", 8); // compressed 16
    const std::string other = std::string("\xFE\xCA\x02\x00", 4) + "ok";
    PutU16(bytes, 30, static_cast<std::uint16_t>(zip64.size() + other.size()));
    return bytes.substr(0, 46 + 18) + zip64 + other;
}

TEST(RecordFormat, TakesSizesFromTheZip64Block) {
    MemoryStream archive(CentralHeaderWithZip64());
    TZipHeaderInfo header;

    ASSERT_TRUE(header.ReadCentralHeader(archive));

    ASSERT_TRUE(header.Zip64Info.has_value());
    EXPECT_EQ(header.UncompressedSize, 0x100000000u);
    EXPECT_EQ(header.CompressedSize, 16u);
    EXPECT_EQ(header.SourceExtraLength, 26u);
    EXPECT_EQ(header.SourceZip64Length, 20u);
}

TEST(RecordFormat, CopiesTheOtherExtraBlocksButNotTheZip64One) {
    MemoryStream source(CentralHeaderWithZip64());
    TZipHeaderInfo header;
    ASSERT_TRUE(header.ReadCentralHeader(source));
    header.UncompressedSize = 100; // the rewritten entry fits 32 bits
    MemoryStream archive;

    header.SaveCentralHeader(archive, &source);

    EXPECT_EQ(GetU16(archive.Bytes(), 30), 6u);
    EXPECT_EQ(archive.Bytes().substr(46 + 18), std::string("\xFE\xCA\x02\x00", 4) + "ok");
}

TEST(RecordFormat, RefusesValuesThatNeedZip64) {
    TZipHeaderInfo big = SampleHeader();
    big.UncompressedSize = 0xFFFFFFFF;
    TZipHeaderInfo bigCompressed = SampleHeader();
    bigCompressed.CompressedSize = 0x100000000;
    TZipHeaderInfo far = SampleHeader();
    MemoryStream archive;

    EXPECT_THROW(big.SaveLocalHeader(archive), EZipException);
    EXPECT_THROW(big.SaveCentralHeader(archive), EZipException);
    EXPECT_THROW(bigCompressed.SaveLocalHeader(archive), EZipException);
    archive.Seek(0xFFFFFFFF, soBeginning); // a header that would start at 4 GiB
    EXPECT_THROW(far.SaveLocalHeader(archive), EZipException);
    EXPECT_TRUE(archive.Bytes().empty());
}

TEST(EndRecordSearch, TakesAnEmptyStreamForAnArchiveWithoutEntries) {
    MemoryStream empty;
    TEndCentral end;
    end.TotalEntries = 9;

    EXPECT_TRUE(end.FindEndRecord(empty));
    EXPECT_EQ(end.TotalEntries, 0u);
}

TEST(EndRecordSearch, FindsNothingInAShortOrForeignStream) {
    MemoryStream shortStream(std::string("PK\x05\x06", 4));
    MemoryStream text(std::string(1000, 't'));
    TEndCentral end;

    EXPECT_FALSE(end.FindEndRecord(shortStream));
    EXPECT_FALSE(end.FindEndRecord(text));
}

TEST(EndRecordSearch, PrefersTheRecordWhoseCommentEndsTheFile) {
    // The comment holds a signature of its own, with fields that point elsewhere.
    TEndCentral decoy;
    decoy.TotalEntries = 7;
    MemoryStream decoyImage;
    decoy.SaveEndRecord(decoyImage);
    TEndCentral real;
    real.TotalEntries = 2;
    real.CentralOffset = 40;
    real.SetArchiveComment("comment " + decoyImage.Bytes() + " tail");
    MemoryStream file(std::string(100, 'x'));
    file.Seek(100, soBeginning);
    real.SaveEndRecord(file);

    TEndCentral found;
    ASSERT_TRUE(found.FindEndRecord(file));

    EXPECT_EQ(found.TotalEntries, 2u);
    EXPECT_EQ(found.CentralOffset, 40u);
    EXPECT_EQ(found.CommentLength, 8u + 22u + 5u);
    EXPECT_EQ(found.CommentPosition, 122u);
}

TEST(EndRecordSearch, TakesTheLastSignatureWhenNoCommentFitsExactly) {
    TEndCentral first;
    first.TotalEntries = 1;
    TEndCentral second;
    second.TotalEntries = 2;
    MemoryStream file;
    first.SaveEndRecord(file);
    second.SaveEndRecord(file);
    file.Write("trailing", 8); // neither record's comment length covers this

    TEndCentral found;
    ASSERT_TRUE(found.FindEndRecord(file));
    EXPECT_EQ(found.TotalEntries, 2u);
}

TEST(EndRecordSearch, LooksNoFurtherBackThanTheLongestComment) {
    TEndCentral end;
    MemoryStream file;
    end.SaveEndRecord(file);
    file.Write(std::string(0xFFFF + 1, 'c').data(), 0xFFFF + 1);

    TEndCentral found;
    EXPECT_FALSE(found.FindEndRecord(file));
}

} // namespace
} // namespace folivane::zip::test
