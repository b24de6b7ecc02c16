// zarvinctl --simulate and the file that keeps the stand-in keyboard's memory between runs:
// whatever stands in the file's place gives a clear error, never a crash or a hang, and a command
// that changed nothing leaves the file as it is.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "sim/SimImageFile.h"
#include "sim/SimModel.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlRun.h"

namespace zarvin::cli {
namespace {

namespace fs = std::filesystem;

using test::ProgramRun;
using test::RunZarvinctl;

fs::path MemoryFile(const test::TempFolder& home) {
    return sim::ImageFilePath(home / "data" / "VX77HUE_8246", sim::SimModel::Keyboard126);
}

TEST(StandInMemoryFile, WhatCannotBeReadIsAClearErrorNotACrashOrAHang) {
    struct Case {
        const char* name;
        void (*place)(const fs::path& file);
        const char* reason;
    };
    const Case cases[] = {
        {"symbolic link loop",
         [](const fs::path& file) {
             fs::create_symlink(file.filename().string() + ".other", file);
             fs::create_symlink(file.filename(), file.string() + ".other");
         },
         "Too many levels of symbolic links"},
        {"named pipe", [](const fs::path& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); },
         "named pipe"},
        {"folder", [](const fs::path& file) { fs::create_directories(file); }, "folder"},
    };
    for (const Case& c : cases) {
        test::TempFolder home;
        fs::create_directories(home / "run");
        const fs::path file = MemoryFile(home);
        fs::create_directories(file.parent_path());
        c.place(file);
        for (const char* command : {"info", "profile 1"}) {
            const ProgramRun run = RunZarvinctl(home, std::string("--simulate=126 ") + command);
            EXPECT_EQ(run.status, 1) << c.name << ", " << command << ": " << run.output;
            EXPECT_NE(run.output.find(file.string()), std::string::npos) << c.name << run.output;
            EXPECT_NE(run.output.find(c.reason), std::string::npos) << c.name << run.output;
        }
    }
}

TEST(StandInMemoryFile, ACommandThatChangesNothingLeavesTheFileAlone) {
    test::TempFolder home;
    fs::create_directories(home / "run");
    const fs::path file = MemoryFile(home);

    ASSERT_EQ(RunZarvinctl(home, "--simulate=126 info").status, 0);
    EXPECT_FALSE(fs::exists(file)) << "the factory memory needs no file";

    ASSERT_EQ(RunZarvinctl(home, "--simulate=126 profile 2").status, 0);
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    for (const char* unchanged : {"info", "profile", "keys", "lighting"}) {
        const ProgramRun run = RunZarvinctl(home, std::string("--simulate=126 ") + unchanged);
        EXPECT_EQ(run.status, 0) << unchanged << ": " << run.output;
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        // Every write replaces the file, so a rewrite shows as a new inode.
        EXPECT_EQ(after.st_ino, before.st_ino) << unchanged;
    }
    EXPECT_EQ(RunZarvinctl(home, "--simulate=126 profile").output, "2\n");
}

}  // namespace
}  // namespace zarvin::cli
