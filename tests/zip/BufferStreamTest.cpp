// The buffered streams: exact logical positions, direction changes, and refused writes.
#include "ZipTestSupport.h"

#include "zip/BufferStream.h"
#include "zip/LFNFileStream.h"
#include "zip/ZipErrors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::zip::test {
namespace {

using ::testing::HasSubstr;

constexpr int kCapacity = 8192;

struct EdgeRow {
    const char* name;
    std::int64_t count;
};

void PrintTo(const EdgeRow& row, std::ostream* out) {
    *out << row.name;
}

const EdgeRow kEdges[] = {{"nothing", 0},
                          {"one_byte", 1},
                          {"capacity_less_one", kCapacity - 1},
                          {"capacity", kCapacity},
                          {"capacity_plus_one", kCapacity + 1}};

class BufferStreamEdge : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(BufferStreamEdge, ReadsWholeBlocksAheadButReportsTheExactPosition) {
    const std::int64_t count = GetParam().count;
    const std::string data = RandomBytes(3 * kCapacity, 1);
    MemoryStream inner(data);
    TS_BufferStream stream(inner, kCapacity);
    std::string out(static_cast<std::size_t>(count), '\0');

    EXPECT_EQ(stream.Read(out.data(), count), count);

    EXPECT_EQ(out, data.substr(0, static_cast<std::size_t>(count)));
    EXPECT_EQ(stream.Position(), count);
    const std::int64_t blocks = (count + kCapacity - 1) / kCapacity;
    EXPECT_EQ(inner.Position(), blocks * kCapacity);
    // The next byte comes from the buffer or, at a block's end, from the next block.
    char next = 0;
    ASSERT_EQ(stream.Read(&next, 1), 1);
    EXPECT_EQ(next, data[static_cast<std::size_t>(count)]);
}

TEST_P(BufferStreamEdge, KeepsWrittenBytesUntilTheBlockIsFull) {
    const std::int64_t count = GetParam().count;
    const std::string data = RandomBytes(static_cast<std::size_t>(count), 2);
    MemoryStream inner;
    TS_BufferStream stream(inner, kCapacity);

    EXPECT_EQ(stream.Write(data.data(), count), count);

    EXPECT_EQ(inner.Bytes().size(), static_cast<std::size_t>(count / kCapacity * kCapacity));
    EXPECT_EQ(stream.Position(), count);
    EXPECT_EQ(stream.Size(), count);
    stream.Flush();
    EXPECT_EQ(inner.Bytes(), data);
}

INSTANTIATE_TEST_SUITE_P(CapacityEdges, BufferStreamEdge, ::testing::ValuesIn(kEdges), RowName());

TEST(BufferStream, Reads65535BytesIn8RefillsAndStopsAtTheLogicalPosition) {
    MemoryStream inner(RandomBytes(100000, 3));
    TS_BufferStream stream(inner, kCapacity);
    int refills = 0;
    stream.FillHook = [&](TS_BufferStream&) { ++refills; };
    std::string out(65535, '\0');

    EXPECT_EQ(stream.Read(out.data(), 65535), 65535);

    EXPECT_EQ(refills, 8);
    EXPECT_EQ(stream.Position(), 65535);
    EXPECT_EQ(inner.Position(), 65536);
}

TEST(BufferStream, ReadsNothingFromAnEmptyFileAndStaysIdle) {
    TempFolder temp;
    WriteFile(temp / "empty", "");
    TLFNFileStream stream(temp / "empty", fmOpenRead | fmShareDenyNone);
    char byte = 0;

    EXPECT_EQ(stream.Read(&byte, 1), 0);
    EXPECT_EQ(stream.Position(), 0);
    // Idle: nothing was read in, so there is nothing to put back.
    EXPECT_THROW(stream.PutBack('x'), EStreamError);
}

TEST(BufferStream, CountsPendingBytesInPositionAndSizeBeforeTheyReachTheFile) {
    TempFolder temp;
    const std::string path = temp / "ten";
    {
        TLFNFileStream stream(path, fmCreate);
        stream.Write("0123456789", 10);
        EXPECT_EQ(stream.Position(), 10);
        EXPECT_EQ(stream.Size(), 10);
        EXPECT_EQ(ReadFile(path), "");
    }
    EXPECT_EQ(ReadFile(path), "0123456789");
}

TEST(BufferStream, FlushesPendingBytesBeforeASeekThatMoves) {
    TempFolder temp;
    const std::string path = temp / "seek";
    const std::string data = RandomBytes(20000, 4);
    const std::string patch(30, '#');
    TLFNFileStream stream(path, fmCreate);
    stream.Write(data.data(), 20000);
    ASSERT_EQ(ReadFile(path).size(), 16384u); // two full blocks; 3616 bytes wait

    stream.Seek(0, soBeginning);
    EXPECT_TRUE(SameBytes(ReadFile(path), data));
    stream.Write(patch.data(), 30);
    stream.Seek(20000, soBeginning);
    stream.Close();

    EXPECT_TRUE(SameBytes(ReadFile(path), patch + data.substr(30)));
}

TEST(BufferStream, DoesNotFlushForASeekToWhereItIs) {
    MemoryStream inner;
    TS_BufferStream stream(inner, kCapacity);
    stream.Write("abc", 3);

    EXPECT_EQ(stream.Seek(3, soBeginning), 3);
    EXPECT_EQ(stream.Seek(0, soCurrent), 3);
    EXPECT_EQ(inner.writes, 0);
}

TEST(BufferStream, CountsBackFromTheEndWhateverTheSignOfTheOffset) {
    MemoryStream inner(std::string(100, 'x'));
    TS_BufferStream stream(inner, kCapacity);

    EXPECT_EQ(stream.Seek(-4, soEnd), 96);
    EXPECT_EQ(stream.Seek(4, soEnd), 96);
}

TEST(BufferStream, RefusesAnUnknownSeekOrigin) {
    MemoryStream inner;
    TS_BufferStream stream(inner, kCapacity);

    try {
        stream.Seek(0, 3);
        FAIL() << "no exception";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Invalid seek origin (3)");
    }
}

TEST(BufferStream, PutsBackOneByteAfterAReadOfOne) {
    MemoryStream inner("ab");
    TS_BufferStream stream(inner, kCapacity);
    EXPECT_THROW(stream.PutBack('x'), EStreamError);
    char byte = 0;
    ASSERT_EQ(stream.Read(&byte, 1), 1);

    stream.PutBack('z');

    EXPECT_THROW(stream.PutBack('y'), EStreamError);
    char again[2] = {};
    ASSERT_EQ(stream.Read(again, 2), 2);
    EXPECT_EQ(std::string(again, 2), "zb");
}

TEST(BufferStream, SwitchesBetweenReadingAndWritingAtTheLogicalPosition) {
    TempFolder temp;
    const std::string path = temp / "mixed";
    WriteFile(path, "0123456789");
    TLFNFileStream stream(path, fmOpenReadWrite);
    char two[2] = {};

    ASSERT_EQ(stream.Read(two, 2), 2);
    stream.Write("AB", 2); // lands at 2, not where the buffer read up to
    ASSERT_EQ(stream.Read(two, 2), 2);
    EXPECT_EQ(std::string(two, 2), "45"); // the bytes after the written ones
    char rest[16] = {};
    EXPECT_EQ(stream.Read(rest, 16), 4);
    stream.Write("!", 1); // after reading to the end: appended
    stream.Close();

    EXPECT_EQ(ReadFile(path), "01AB456789!");
}

TEST(BufferStream, CallsTheFlushHookAfterEveryFlush) {
    MemoryStream inner;
    TS_BufferStream stream(inner, 4);
    int flushes = 0;
    stream.FlushHook = [&](TS_BufferStream&) { ++flushes; };

    stream.Write("abcdefghij", 10);
    stream.Flush();

    EXPECT_EQ(flushes, 3);
    EXPECT_EQ(inner.Bytes(), "abcdefghij");
}

TEST(BufferStream, KeepsTheFlushOnFreeRequestOnlyForModesThatWrite) {
    TempFolder temp;
    WriteFile(temp / "source", "data");

    EXPECT_FALSE(TLFNFileStream(temp / "source", fmOpenRead | fmShareDenyNone, true).FlushOnFree);
    EXPECT_TRUE(TLFNFileStream(temp / "archive", fmCreate, true).FlushOnFree);
    EXPECT_FALSE(TLFNFileStream(temp / "other", fmCreate, false).FlushOnFree);
}

TEST(BufferStream, ReportsAWriteTheInnerStreamTookOnlyInPart) {
    MemoryStream inner;
    inner.SetWriteLimit(10);
    TS_BufferStream stream(inner, 8);
    const std::string data(20, 'd');

    // The first block goes through, the second is cut short: the call ends there.
    EXPECT_EQ(stream.Write(data.data(), 20), 16);

    EXPECT_TRUE(stream.WriteFailed());
    EXPECT_EQ(stream.LastWriteError(), ENOSPC);
    try {
        stream.Flush();
        FAIL() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_THAT(e.what(), HasSubstr("No space left on device"));
    }
}

TEST(BufferStream, RaisesSeekErrorWhenPendingBytesAreRefused) {
    MemoryStream inner;
    inner.SetWriteLimit(2);
    TS_BufferStream stream(inner, 8);
    stream.Write("abcd", 4);

    try {
        stream.Seek(0, soBeginning);
        FAIL() << "no exception";
    } catch (const EWriteError& e) {
        // The refused write, with the stream's cause: the seek itself is not what failed.
        EXPECT_EQ(e.Operation(), platform::FileOperation::Write);
        EXPECT_EQ(e.Cause(), ENOSPC);
    }
}

TEST(FileStream, NamesTheFileAndTheReasonWhenItCannotBeOpened) {
    TempFolder temp;
    try {
        TLFNFileStream stream(temp / "missing.txt", fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + (temp / "missing.txt") + "\". No such file or directory");
    }
    try {
        TLFNFileStream stream(temp / "no/such/folder.zip", fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Cannot create file \"" + (temp / "no/such/folder.zip")));
    }
    EXPECT_THROW(TLFNFileStream(temp.Path(), fmOpenRead), EFOpenError); // a folder
}

TEST(FileStream, ReportsBytesTheDeviceRefusedWhenClosed) {
    // /dev/full takes nothing: every write fails with ENOSPC.
    TLFNFileStream stream("/dev/full", fmOpenWrite);
    EXPECT_EQ(stream.Write("waiting", 7), 7); // still in the buffer

    try {
        stream.Close();
        FAIL() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_THAT(e.what(), HasSubstr("/dev/full"));
        EXPECT_THAT(e.what(), HasSubstr("No space left on device"));
    }
}

} // namespace
} // namespace folivane::zip::test
