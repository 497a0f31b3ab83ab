// Modules loaded on demand: found, missing, and handed from one owner to another.
#include "platform/LoadedModule.h"
#include "platform/SystemCalls.h"

#include <errno.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <utility>

namespace folivane::platform {
namespace {

// Also where /proc cannot say, as in a chroot without it.
TEST(ProgramFolder, HoldsTheRunningProgram) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + program_invocation_short_name)) << folder;
    const FaultInjection noProc({Fault(Call::ReadLink, ENOENT, 0, "/proc/self/exe")});
    EXPECT_EQ(ProgramFolder(), folder);
    EXPECT_EQ(noProc.Injected(0), 1);
}

TEST(LoadedModule, GivesSymbolsOnlyWhenLoaded) {
    const LoadedModule missing("/nonexistent/module.so");
    EXPECT_FALSE(missing.Loaded());
    EXPECT_NE(missing.Problem().find("/nonexistent/module.so"), std::string::npos);
    EXPECT_EQ(missing.Symbol("cos"), nullptr);

    LoadedModule math("libm.so.6");
    ASSERT_TRUE(math.Loaded()) << math.Problem();
    EXPECT_TRUE(math.Problem().empty());
    EXPECT_NE(math.Symbol("cos"), nullptr);
    EXPECT_EQ(math.Symbol("folivane_no_such_symbol"), nullptr);

    LoadedModule moved(std::move(math));
    EXPECT_NE(moved.Symbol("cos"), nullptr);
    EXPECT_FALSE(math.Loaded()); // what a move leaves behind
    moved = LoadedModule("/nonexistent/module.so");
    EXPECT_FALSE(moved.Loaded());
}

} // namespace
} // namespace folivane::platform
