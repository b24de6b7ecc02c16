#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/WholeFile.h"
#include "platform/WriteTarget.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// A folder anyone may write to, as /tmp or a shared project folder.
fs::path SharedFolder(const TempFolder& temp, bool sticky) {
    const fs::path shared = temp / (sticky ? "sticky" : "shared");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | (sticky ? fs::perms::sticky_bit : fs::perms::none));
    return shared;
}

TEST(WriteTarget, FollowsTheUsersOwnLinksInTheUsersOwnFolders) {
    const TempFolder temp;
    fs::create_directories(temp / "real" / "inner");
    const fs::path file = temp.Write("real/inner/backup.fwc", "old");
    fs::create_directory_symlink("real", temp / "folder-link");
    fs::create_symlink("../folder-link/./inner/backup.fwc", temp / "real" / "relative-link");
    fs::create_symlink(temp / "real" / "relative-link", temp / "absolute-link");

    for (const char* name : {"absolute-link", "real/relative-link", "folder-link/inner/backup.fwc"}) {
        std::string error;
        EXPECT_EQ(WriteTarget(temp / name, error), fs::canonical(file)) << name << ": " << error;
    }
    ASSERT_TRUE(WriteWholeFileAtomically(temp / "absolute-link", "new"));
    EXPECT_EQ(temp.Read("real/inner/backup.fwc"), "new");
    EXPECT_TRUE(fs::is_symlink(temp / "absolute-link"));

    std::string error;
    EXPECT_EQ(WriteTarget(temp / "real" / "missing.fwc", error), temp / "real" / "missing.fwc");
}

TEST(WholeFile, AFileThatHoldsTheBytesAlreadyIsNotWrittenAgain) {
    const TempFolder temp;
    const fs::path file = temp.Write("profile", "same bytes");
    const auto inode = [&file] {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return info.st_ino;
    };
    const ino_t before = inode();

    // A write replaces the file by a new one; the same bytes leave the old one in place.
    ASSERT_TRUE(WriteWholeFileIfChanged(file, "same bytes"));
    EXPECT_EQ(inode(), before);
    for (const char* changed : {"same byteS", "same bytes and more", "same", ""}) {
        ASSERT_TRUE(WriteWholeFileIfChanged(file, changed));
        EXPECT_EQ(temp.Read("profile"), changed);
    }
    ASSERT_TRUE(WriteWholeFileIfChanged(temp / "new", "made"));
    EXPECT_EQ(temp.Read("new"), "made");
}

// Whoever may add entries to a folder can put a link there that leads to any file of the user:
// a write through it would replace that file.
TEST(WriteTarget, RefusesLinksInFoldersOthersMayWriteTo) {
    const TempFolder temp;
    const fs::path precious = temp.Write("precious", "keep");
    for (const bool sticky : {false, true}) {
        const fs::path shared = SharedFolder(temp, sticky);
        fs::create_symlink(precious, shared / "backup.fwc");
        fs::create_directory_symlink(temp.Path(), shared / "folder");
        for (const fs::path& path : {shared / "backup.fwc", shared / "folder" / "precious"}) {
            std::string error;
            EXPECT_FALSE(WriteTarget(path, error).has_value()) << path;
            EXPECT_NE(error.find(shared.string()), std::string::npos) << error;
            EXPECT_FALSE(WriteWholeFileAtomically(path, "replaced")) << path;
        }
        // A plain file in such a folder is written as before.
        EXPECT_TRUE(WriteWholeFileAtomically(shared / "plain.fwc", "mine"));
    }
    EXPECT_EQ(temp.Read("precious"), "keep");
}

TEST(WriteTarget, RefusesALinkOfAnotherUser) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a link away";
    }
    const TempFolder temp;
    const fs::path precious = temp.Write("precious", "keep");
    fs::create_symlink(precious, temp / "theirs");
    ASSERT_EQ(::lchown((temp / "theirs").c_str(), 65534, 65534), 0);
    std::string error;
    EXPECT_FALSE(WriteTarget(temp / "theirs", error).has_value());
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
    EXPECT_FALSE(WriteWholeFileAtomically(temp / "theirs", "replaced"));
    EXPECT_EQ(temp.Read("precious"), "keep");
}

TEST(WriteTarget, LinksThatGoRoundAreAnError) {
    const TempFolder temp;
    fs::create_symlink("b", temp / "a");
    fs::create_symlink("a", temp / "b");
    std::string error;
    EXPECT_FALSE(WriteTarget(temp / "a", error).has_value());
    EXPECT_NE(error, "");
    EXPECT_FALSE(WriteWholeFileAtomically(temp / "a", "x"));
}

}  // namespace
}  // namespace zarvin
