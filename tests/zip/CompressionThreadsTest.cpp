// Compression on a pool of threads writes the same archive, byte for byte, as on one thread.
#include "ZipTestSupport.h"

#include "zip/ZipWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sys/resource.h>

namespace folivane::zip::test {
namespace {

// Many files of mixed sizes and kinds in nested folders, and one large enough to be
// compressed on the calling thread while the others go to the pool.
class CompressionThreads : public ::testing::Test {
protected:
    CompressionThreads() {
        std::mt19937 generator(42);
        for (int i = 0; i < 240; ++i) {
            const std::size_t size =
                generator() % 5 == 0 ? generator() % 200000 : generator() % 3000;
            const std::string name = "part" + std::to_string(i % 7) + "/file" + std::to_string(i) +
                                     (i % 3 == 0 ? ".bin" : ".txt");
            WriteFile(root_ + name,
                      i % 3 == 0 ? RandomBytes(size, static_cast<unsigned>(i)) : SampleText(size));
            SetModified(root_ + name, 1300000000 + i);
        }
        WriteFile(root_ + "part3/large.txt", SampleText(17u << 20));
        SetModified(root_ + "part3/large.txt", 1300000000);
        WriteFile(root_ + "mimetype", "application/epub+zip");
        SetModified(root_ + "mimetype", 1300000000);
    }

    std::string Build(unsigned threads) {
        const std::string zip = temp_ / ("threads" + std::to_string(threads) + ".zip");
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.SetRootDir(root_);
        writer.SetRelativePaths(true);
        writer.NoCompressList = {"*.bin", "mimetype"};
        writer.FilesList = {root_ + "mimetype", "*.*"};
        writer.CompressionThreads = threads;
        EXPECT_EQ(writer.BuildArchive(), 242);
        return zip;
    }

    TempFolder temp_;
    std::string root_ = temp_ / "tree/";
};

TEST_F(CompressionThreads, WriteTheSameArchiveWhateverTheirNumber) {
    const std::string one = Build(1);
    const std::string four = Build(4);
    const std::string perCore = Build(0);

    EXPECT_TRUE(SameBytes(ReadFile(four), ReadFile(one))) << "4 threads wrote another archive";
    EXPECT_TRUE(SameBytes(ReadFile(perCore), ReadFile(one)))
        << "a thread per core wrote another archive";
    const CheckedArchive archive = CheckArchive(four);
    EXPECT_TRUE(ReadersAccept(archive));
    ASSERT_EQ(archive.entries.size(), 242u);
    EXPECT_EQ(archive.entries[0].name, "mimetype");
    for (const CheckedEntry& entry : archive.entries)
        EXPECT_TRUE(SameBytes(entry.data, ReadFile(root_ + entry.name))) << entry.name;
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The sanitizers reserve address space of their own, so a limit on it says nothing there.
TEST_F(CompressionThreads, CompressOnTheCallingThreadWhenNoThreadCanStart) {
    const std::string reference = ReadFile(Build(1));
    const std::string zip = temp_ / "limited.zip";
    // Room for the run's buffers, none for an 8 MiB thread stack.
    const int status = RunInChild([&] {
        std::ifstream self("/proc/self/status");
        std::string key;
        rlim_t size = 0;
        while (self >> key)
            if (key == "VmSize:") self >> size;
        const rlim_t limit = (size + 6 * 1024) * 1024;
        const rlimit space{limit, limit};
        if (::setrlimit(RLIMIT_AS, &space) != 0) return 3;
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.SetRootDir(root_);
        writer.SetRelativePaths(true);
        writer.NoCompressList = {"*.bin", "mimetype"};
        writer.FilesList = {root_ + "mimetype", "*.*"};
        writer.CompressionThreads = 4;
        return writer.BuildArchive() == 242 ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(SameBytes(ReadFile(zip), reference)) << "the fallback wrote another archive";
}
#endif

} // namespace
} // namespace folivane::zip::test
