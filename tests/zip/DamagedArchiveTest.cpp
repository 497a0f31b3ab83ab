// Existing archives that are damaged or hostile: refused with EBadZipFile or EIncompleteZip,
// never trusted, and left as they were.
#include "ZipTestSupport.h"

#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;

enum class Outcome { Accepted, Incomplete, Bad, OtherError };

Outcome Classify(const std::function<void()>& action) {
    try {
        action();
        return Outcome::Accepted;
    } catch (const EIncompleteZip&) {
        return Outcome::Incomplete;
    } catch (const EBadZipFile&) {
        return Outcome::Bad;
    } catch (const std::exception&) {
        return Outcome::OtherError;
    }
}

void PrintTo(Outcome outcome, std::ostream* out) {
    static const char* const names[] = {"accepted", "EIncompleteZip", "EBadZipFile",
                                        "another error"};
    *out << names[static_cast<int>(outcome)];
}

// A valid archive of two entries, a.txt and b.txt, as the writer makes it, with the
// positions a damage needs.
struct Sample {
    std::string bytes;
    std::size_t end = 0;     // the end record
    std::size_t central = 0; // the first central header
    std::size_t second = 0;  // the second central header

    Sample() {
        const TempFolder temp;
        WriteFile(temp / "a.txt", SampleText(500));
        WriteFile(temp / "b.txt", SampleText(700));
        TZipWriter writer;
        writer.SetZipName(temp / "sample.zip");
        writer.FilesList = {temp / "a.txt", temp / "b.txt"};
        writer.BuildArchive();
        bytes = ReadFile(temp / "sample.zip");
        end = bytes.size() - 22;
        central = GetU32(bytes, end + 16);
        second = central + 46 + GetU16(bytes, central + 28);
    }
};

// The first central header gets a Zip64 block whose offset lies almost at 2^64.
void AddZip64OffsetNearTheTop(Sample& s) {
    std::string block =
        std::string("\x01\x00\x08\x00", 4) + std::string("\xF0", 1) + std::string(7, '\xFF');
    const std::size_t nameEnd = s.central + 46 + GetU16(s.bytes, s.central + 28);
    PutU32(s.bytes, s.central + 42, 0xFFFFFFFF);
    PutU16(s.bytes, s.central + 30, static_cast<std::uint16_t>(block.size()));
    s.bytes.insert(nameEnd, block);
    s.end += block.size();
    PutU32(s.bytes, s.end + 12,
           GetU32(s.bytes, s.end + 12) + static_cast<std::uint32_t>(block.size()));
}

// A Zip64 end record and its locator before the end record, counting `entries`.
void AddZip64EndRecord(Sample& s, std::uint64_t entries) {
    const std::uint64_t at = s.end;
    std::string record(56 + 20, '\0');
    PutU32(record, 0, 0x06064B50);
    PutU32(record, 4, 44); // the size of what follows this field
    PutU16(record, 12, 45);
    PutU16(record, 14, 45);
    for (const std::size_t field : {24u, 32u}) {
        PutU32(record, field, static_cast<std::uint32_t>(entries));
        PutU32(record, field + 4, static_cast<std::uint32_t>(entries >> 32));
    }
    PutU32(record, 40, GetU32(s.bytes, s.end + 12)); // the directory's size and offset
    PutU32(record, 48, GetU32(s.bytes, s.end + 16));
    PutU32(record, 56, 0x07064B50);
    PutU32(record, 64, static_cast<std::uint32_t>(at));
    PutU32(record, 72, 1); // disks
    s.bytes.insert(s.end, record);
    s.end += record.size();
}

struct DamageRow {
    const char* name;
    std::function<void(Sample&)> damage;
    Outcome whenOpened; // reading the directory alone
    Outcome whenUpdated;
};

void PrintTo(const DamageRow& row, std::ostream* out) {
    *out << row.name;
}

class DamagedArchive : public ::testing::TestWithParam<DamageRow> {};

TEST_P(DamagedArchive, IsRefusedAndLeftAsItWas) {
    const DamageRow& row = GetParam();
    Sample sample;
    row.damage(sample);
    TempFolder temp;
    const std::string zip = temp / "damaged.zip";
    WriteFile(zip, sample.bytes);
    WriteFile(temp / "root/new.txt", "new");

    TZipWriter reader;
    reader.SetZipName(zip);
    EXPECT_EQ(Classify([&] { reader.OpenArchive(); }), row.whenOpened);

    TZipWriter writer;
    writer.SetZipName(zip);
    writer.SetRootDir(temp / "root");
    writer.TempPath = temp / "root";
    writer.FilesList = {"new.txt", "a.txt"};
    EXPECT_EQ(Classify([&] { writer.BuildArchive(); }), row.whenUpdated);
    EXPECT_TRUE(SameBytes(ReadFile(zip), sample.bytes));
    EXPECT_THAT(FolderEntries(temp / "root"), ElementsAre("new.txt"));
    if (row.whenOpened != Outcome::Accepted) {
        EXPECT_EQ(writer.ArchiveDirectory(), nullptr); // nothing of it is kept
    }
}

const DamageRow kDamages[] = {
    {"tail_cut_short", [](Sample& s) { s.bytes.resize(s.bytes.size() - 5); }, Outcome::Incomplete,
     Outcome::Incomplete},
    {"end_signature_broken", [](Sample& s) { s.bytes[s.end + 3] = 'X'; }, Outcome::Incomplete,
     Outcome::Incomplete},
    {"central_start_disk_after_this_disk", [](Sample& s) { PutU16(s.bytes, s.end + 6, 1); },
     Outcome::Incomplete, Outcome::Incomplete},
    {"spans_disks",
     [](Sample& s) {
         PutU16(s.bytes, s.end + 4, 1);
         PutU16(s.bytes, s.end + 6, 1);
     },
     Outcome::Bad, Outcome::Bad},
    {"central_offset_past_the_end", [](Sample& s) { PutU32(s.bytes, s.end + 16, 0x7FFFFFF0); },
     Outcome::Bad, Outcome::Bad},
    {"central_size_past_the_end", [](Sample& s) { PutU32(s.bytes, s.end + 12, 0xFFFFFF00); },
     Outcome::Bad, Outcome::Bad},
    {"more_entries_than_the_directory_holds",
     [](Sample& s) {
         PutU16(s.bytes, s.end + 8, 500);
         PutU16(s.bytes, s.end + 10, 500);
     },
     Outcome::Bad, Outcome::Bad},
    {"entry_counts_disagree", [](Sample& s) { PutU16(s.bytes, s.end + 8, 1); }, Outcome::Bad,
     Outcome::Bad},
    {"central_signature_broken", [](Sample& s) { s.bytes[s.second + 2] = 'X'; }, Outcome::Bad,
     Outcome::Bad},
    {"name_runs_past_the_directory", [](Sample& s) { PutU16(s.bytes, s.second + 28, 0xFFFF); },
     Outcome::Bad, Outcome::Bad},
    {"comment_runs_past_the_directory", [](Sample& s) { PutU16(s.bytes, s.second + 32, 0x1000); },
     Outcome::Bad, Outcome::Bad},
    {"local_offset_inside_the_directory",
     [](Sample& s) { PutU32(s.bytes, s.second + 42, static_cast<std::uint32_t>(s.central)); },
     Outcome::Bad, Outcome::Bad},
    {"compressed_size_past_the_directory",
     [](Sample& s) { PutU32(s.bytes, s.central + 20, 0x00100000); }, Outcome::Bad, Outcome::Bad},
    {"two_entries_at_one_offset", [](Sample& s) { PutU32(s.bytes, s.second + 42, 0); },
     Outcome::Bad, Outcome::Bad},
    {"entry_on_another_disk", [](Sample& s) { PutU16(s.bytes, s.second + 34, 1); }, Outcome::Bad,
     Outcome::Bad},
    {"zip64_offset_wraps_around", AddZip64OffsetNearTheTop, Outcome::Bad, Outcome::Bad},
    // End records that count fewer entries than the directory holds: updated as they say, the
    // archive would lose the entries they leave out.
    {"end_record_counts_fewer_entries",
     [](Sample& s) {
         PutU16(s.bytes, s.end + 8, 1);
         PutU16(s.bytes, s.end + 10, 1);
     },
     Outcome::Bad, Outcome::Bad},
    {"end_record_counts_fewer_entries_and_bytes",
     [](Sample& s) {
         PutU16(s.bytes, s.end + 8, 1);
         PutU16(s.bytes, s.end + 10, 1);
         PutU32(s.bytes, s.end + 12, static_cast<std::uint32_t>(s.second - s.central));
     },
     Outcome::Bad, Outcome::Bad},
    {"zip64_end_record_counts_fewer_entries", [](Sample& s) { AddZip64EndRecord(s, 1); },
     Outcome::Bad, Outcome::Bad},
    {"zip64_locator_points_nowhere",
     [](Sample& s) {
         AddZip64EndRecord(s, 2);
         PutU32(s.bytes, s.end - 20 + 8, 3);
     },
     Outcome::Bad, Outcome::Bad},
    // The directory is sound; the damage shows when an entry is copied.
    {"local_signature_broken", [](Sample& s) { s.bytes[1] = 'X'; }, Outcome::Accepted,
     Outcome::Bad},
    {"local_extra_runs_into_the_directory", [](Sample& s) { PutU16(s.bytes, 28, 0x4000); },
     Outcome::Accepted, Outcome::Bad},
};

INSTANTIATE_TEST_SUITE_P(Damages, DamagedArchive, ::testing::ValuesIn(kDamages), RowName());

TEST(DamagedArchive, AcceptsAZip64EndRecordThatAgreesWithTheEndRecord) {
    Sample sample;
    AddZip64EndRecord(sample, 2);
    TempFolder temp;
    const std::string zip = temp / "zip64-end.zip";
    WriteFile(zip, sample.bytes);
    WriteFile(temp / "new.txt", "new");
    TZipWriter writer;
    writer.SetZipName(zip);
    writer.FilesList = {temp / "new.txt"};

    EXPECT_EQ(writer.BuildArchive(), 1);

    EXPECT_THAT(CheckArchive(zip).Names(), ElementsAre("a.txt", "b.txt", "new.txt"));
}

TEST(DamagedArchive, ToleratesACommentLengthBeyondTheEndOfTheFile) {
    Sample sample;
    PutU16(sample.bytes, sample.end + 20, 40);
    TempFolder temp;
    const std::string zip = temp / "long-comment.zip";
    WriteFile(zip, sample.bytes);
    WriteFile(temp / "new.txt", "new");
    TZipWriter writer;
    writer.SetZipName(zip);
    writer.FilesList = {temp / "new.txt"};

    EXPECT_EQ(writer.BuildArchive(), 1);

    const CheckedArchive archive = CheckArchive(zip);
    EXPECT_TRUE(ReadersAccept(archive));
    EXPECT_THAT(archive.Names(), ElementsAre("a.txt", "b.txt", "new.txt"));
}

} // namespace
} // namespace folivane::zip::test
