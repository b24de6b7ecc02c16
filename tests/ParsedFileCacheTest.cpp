#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/ParsedFileCache.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// The "parsed" form is the text itself; the parses are counted.
struct CountingCache {
    explicit CountingCache(size_t capacity = 16,
                           ParsedFileCache<std::string>::Stamper stamp = CurrentStamp)
        : cache(
              [this](std::string bytes) {
                  ++parses;
                  return std::make_shared<const std::string>(std::move(bytes));
              },
              capacity, std::move(stamp)) {}

    std::string Text(const fs::path& file) {
        const std::shared_ptr<const std::string> parsed = cache.Get(file);
        return parsed ? *parsed : "(none)";
    }

    int parses = 0;
    ParsedFileCache<std::string> cache;
};

// Moves the file's modification time an hour back, so that its stamp is old enough to trust.
void MakeOld(const fs::path& file) {
    fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
}

TEST(ParsedFileCache, AnUnchangedFileIsParsedOnce) {
    for (const bool old : {true, false}) {
        SCOPED_TRACE(old ? "old file" : "file just written");
        const TempFolder folder;
        const fs::path file = folder.Write("Main.ini", "[S]\nK=1\n");
        if (old) {
            MakeOld(file);
        }
        CountingCache files;
        for (int use = 0; use < 5; ++use) {
            EXPECT_EQ(files.Text(file), "[S]\nK=1\n");
        }
        EXPECT_EQ(files.parses, 1);
    }
}

TEST(ParsedFileCache, EveryChangeOnDiskIsSeen) {
    struct Case {
        const char* name;
        bool oldFirst;  // the file's stamp is trusted before the change
        std::function<void(const TempFolder&, const fs::path&)> change;
        std::string seen;
    };
    const std::vector<Case> cases{
        {"same size, in place, at once", false,
         [](const TempFolder& folder, const fs::path&) { folder.Write("f.ini", "K=2\n"); },
         "K=2\n"},
        {"same size, in place, old file", true,
         [](const TempFolder& folder, const fs::path&) { folder.Write("f.ini", "K=2\n"); },
         "K=2\n"},
        {"same size and modification time put back", true,
         [](const TempFolder& folder, const fs::path& file) {
             const auto modified = fs::last_write_time(file);
             folder.Write("f.ini", "K=2\n");
             fs::last_write_time(file, modified);
         },
         "K=2\n"},
        {"other size", true,
         [](const TempFolder& folder, const fs::path&) { folder.Write("f.ini", "K=22\n"); },
         "K=22\n"},
        {"replaced by a rename", true,
         [](const TempFolder& folder, const fs::path& file) {
             fs::rename(folder.Write("new.ini", "K=2\n"), file);
         },
         "K=2\n"},
        {"emptied", true,
         [](const TempFolder& folder, const fs::path&) { folder.Write("f.ini", ""); }, ""},
        {"removed", true, [](const TempFolder&, const fs::path& file) { fs::remove(file); },
         "(none)"},
        {"a folder in its place", true,
         [](const TempFolder&, const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         },
         "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        const fs::path file = folder.Write("f.ini", "K=1\n");
        if (c.oldFirst) {
            MakeOld(file);
        }
        CountingCache files;
        ASSERT_EQ(files.Text(file), "K=1\n");
        c.change(folder, file);
        EXPECT_EQ(files.Text(file), c.seen);
        EXPECT_EQ(files.Text(file), c.seen);
        EXPECT_EQ(files.parses, c.seen == "(none)" ? 1 : 2);
    }
}

// A file system whose clock has not moved since the last write gives a rewrite of the same
// size the same stamp: a file that recent is compared byte for byte.
TEST(ParsedFileCache, ARecentFileIsComparedWhenItsStampCannotTell) {
    const TempFolder folder;
    const fs::path file = folder.Write("f.userd", "K=1\n");
    const int64_t nowNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    const auto frozenClock = [nowNs](const fs::path&) -> std::optional<FileStamp> {
        return FileStamp{1, 2, 4, nowNs, nowNs};
    };
    CountingCache files(16, frozenClock);
    ASSERT_EQ(files.Text(file), "K=1\n");
    EXPECT_EQ(files.Text(file), "K=1\n");
    EXPECT_EQ(files.parses, 1);
    folder.Write("f.userd", "K=2\n");
    EXPECT_EQ(files.Text(file), "K=2\n");
    EXPECT_EQ(files.parses, 2);
}

TEST(ParsedFileCache, TheLeastRecentlyUsedFileMakesRoom) {
    const TempFolder folder;
    const fs::path a = folder.Write("a.ini", "A");
    const fs::path b = folder.Write("b.ini", "B");
    const fs::path c = folder.Write("c.ini", "C");
    for (const fs::path& file : {a, b, c}) {
        MakeOld(file);
    }
    CountingCache files(2);
    files.Text(a);
    files.Text(b);
    files.Text(a);
    EXPECT_EQ(files.Text(c), "C");  // b makes room
    EXPECT_EQ(files.Text(a), "A");
    EXPECT_EQ(files.parses, 3);
    EXPECT_EQ(files.Text(b), "B");
    EXPECT_EQ(files.parses, 4);
}

}  // namespace
}  // namespace zarvin
