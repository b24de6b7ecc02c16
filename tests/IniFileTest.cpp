#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "store/IniFile.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using namespace std::string_literals;

constexpr std::string_view kFallback = "#Error";

struct LookupCase {
    const char* section;
    const char* key;
    const char* expected;
};

constexpr std::string_view kLookupFile =
    "; Top=comment before any section\n"
    "Loose=outside any section\n"
    "[Text]\n"
    "  Hello =   World  \n"
    "hello=second of the same name\n"
    "; Hidden=commented out\n"
    "Empty=\n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Half=\"abc\n"
    "Mixed=\"abc'\n"
    "Inner=a \"b\" c\n"
    "No equals sign here\n"
    "=no name\n"
    "Spaced = a = b\n"
    "[ Other ]\n"
    "Key=other\n"
    "[TEXT]\n"
    "Late=in the second section of the same name\n";

TEST(IniFileRead, FollowsTheWindowsLookupRules) {
    const TempFolder folder;
    const fs::path file = folder.Write("lookup.ini", kLookupFile);
    const LookupCase cases[] = {
        {"TEXT", "HELLO", "World"},      // case, blanks, first key of a name
        {" text ", " hello ", "World"},  // the names asked for are trimmed too
        {"TEXT", "Empty", ""},
        {"TEXT", "Quoted", "  padded  "},
        {"TEXT", "Single", "x"},
        {"TEXT", "Half", "\"abc"},
        {"TEXT", "Mixed", "\"abc'"},
        {"TEXT", "Inner", "a \"b\" c"},
        {"TEXT", "Spaced", "a = b"},
        {"Other", "Key", "other"},
        {"TEXT", "Missing", "#Error"},
        {"TEXT", "Late", "#Error"},  // only the first section of a name is searched
        {"TEXT", "; Hidden", "#Error"},
        {"TEXT", "No equals sign here", "#Error"},
        {"TEXT", "", "#Error"},
        {"Missing", "Hello", "#Error"},
        {"", "Loose", "#Error"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        EXPECT_EQ(ReadIniString(file, c.section, c.key, kFallback), c.expected);
    }
    EXPECT_EQ(ReadIniString(folder / "absent.ini", "TEXT", "Hello", kFallback), kFallback);
}

TEST(IniFileRead, CutsValuesToTheBufferInCodePoints) {
    const TempFolder folder;
    const std::string longValue(300, 'x');
    const fs::path file = folder.Write(
        "cut.ini", "[S]\nLong=" + longValue + "\nWide=\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\n");
    EXPECT_EQ(ReadIniString(file, "S", "Long", kFallback), longValue.substr(0, 259));
    EXPECT_EQ(ReadIniString(file, "S", "Wide", kFallback, 4), "\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(ReadIniString(file, "S", "Missing", "abcdef", 4), "abc");
    EXPECT_EQ(ReadIniString(file, "S", "Long", kFallback, 0), "");
}

// "[Ünits]\r\nName=Café ☕\r\n" saved by a Windows editor as UTF-16LE, with a surrogate pair.
TEST(IniFileRead, ReadsUtf16LeAndUtf8WithByteOrderMarks) {
    const TempFolder folder;
    const std::u16string text = u"[\u00DCnits]\r\nName=Caf\u00E9 \U0001F600\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    const fs::path utf16 = folder.Write("utf16.ini", bytes);
    EXPECT_EQ(ReadIniString(utf16, "\xC3\x9Cnits", "Name", kFallback),
              "Caf\xC3\xA9 \xF0\x9F\x98\x80");

    const fs::path utf8 = folder.Write("utf8.ini", "\xEF\xBB\xBF[S]\nName=v\n");
    EXPECT_EQ(ReadIniString(utf8, "S", "Name", kFallback), "v");
}

TEST(IniFileRead, ReadsNumbersAsWindowsDoes) {
    const TempFolder folder;
    const fs::path file = folder.Write(
        "numbers.ini", "[N]\nPlain=42\nNegative=-7\nTrailing=12abc\nWord=abc\nEmpty=\nHex=0x10\n");
    EXPECT_EQ(ReadIniInt(file, "N", "Plain", 5), 42);
    EXPECT_EQ(ReadIniInt(file, "N", "Negative", 5), -7);
    EXPECT_EQ(ReadIniInt(file, "N", "Trailing", 5), 12);
    EXPECT_EQ(ReadIniInt(file, "N", "Word", 5), 0);
    EXPECT_EQ(ReadIniInt(file, "N", "Hex", 5), 0);
    EXPECT_EQ(ReadIniInt(file, "N", "Empty", 5), 5);
    EXPECT_EQ(ReadIniInt(file, "N", "Missing", 5), 5);
}

TEST(IniFileRead, ListsTheKeysOfASectionOnceEach) {
    const TempFolder folder;
    const fs::path file = folder.Write("keys.ini", kLookupFile);
    EXPECT_EQ(ReadIniKeys(file, "text"),
              (std::vector<std::string>{"Hello", "Empty", "Quoted", "Single", "Half", "Mixed",
                                        "Inner", "Spaced"}));
    EXPECT_TRUE(ReadIniKeys(file, "Missing").empty());
}

TEST(IniFileRead, SurvivesDamagedAndBinaryFiles) {
    const TempFolder folder;
    std::string junk;
    for (int i = 0; i < 70000; ++i) {
        junk += static_cast<char>((i * 7919) % 256);
    }
    const fs::path binary = folder.Write("binary.ini", junk);
    EXPECT_EQ(ReadIniString(binary, "S", "K", kFallback), kFallback);
    (void)ReadIniKeys(binary, "S");

    const fs::path damaged =
        folder.Write("damaged.ini", "[S]\nBad=a\xFF\xC3z\nNul=ab\0cd\n[Open\nK=v"s);
    EXPECT_EQ(ReadIniString(damaged, "S", "Bad", kFallback), "a\xEF\xBF\xBD\xEF\xBF\xBDz");
    EXPECT_EQ(ReadIniString(damaged, "S", "Nul", kFallback), "ab");
    EXPECT_EQ(ReadIniString(damaged, "S", "K", kFallback), "v");  // "[Open" is no header

    // A file far beyond any settings file is not read (a sparse file costs no disk space).
    const fs::path huge = folder.Write("huge.ini", "[S]\nK=v\n");
    fs::resize_file(huge, 17u << 20);
    EXPECT_EQ(ReadIniString(huge, "S", "K", kFallback), kFallback);
    EXPECT_FALSE(WriteIniString(huge, "S", "K", "w"));
    EXPECT_EQ(fs::file_size(huge), 17u << 20);

    EXPECT_EQ(ReadIniString(folder.Path(), "S", "K", kFallback), kFallback);  // a folder
}

// Files are kept parsed between reads: a change on disk must still be seen at once, also one
// that keeps the size within the same tick of the file clock.
TEST(IniFileRead, SeesAFileChangedOnDiskAtOnce) {
    const TempFolder folder;
    const fs::path file = folder.Write("Main.ini", "[S]\nK=1\n");
    ASSERT_EQ(ReadIniString(file, "S", "K", kFallback), "1");
    folder.Write("Main.ini", "[S]\nK=2\n");
    EXPECT_EQ(ReadIniString(file, "S", "K", kFallback), "2");
    EXPECT_EQ(ReadIniSection(file, "S").Read("K", kFallback), "2");
    ASSERT_TRUE(WriteIniString(file, "S", "K", "3"));
    EXPECT_EQ(ReadIniKeys(file, "S"), std::vector<std::string>{"K"});
    EXPECT_EQ(ReadIniString(file, "S", "K", kFallback), "3");
    fs::remove(file);
    EXPECT_EQ(ReadIniString(file, "S", "K", kFallback), kFallback);
}

TEST(IniFileWrite, CreatesTheFileSectionAndKey) {
    const TempFolder folder;
    ASSERT_TRUE(WriteIniString(folder / "new.ini", "KEYCOLOR", "DengCheck", "1"));
    EXPECT_EQ(folder.Read("new.ini"), "[KEYCOLOR]\nDengCheck=1\n");
    EXPECT_EQ(ReadIniString(folder / "new.ini", "keycolor", "dengcheck", kFallback), "1");

    EXPECT_TRUE(WriteIniString(folder / "none.ini", "S", "K", std::nullopt));
    EXPECT_FALSE(fs::exists(folder / "none.ini"));
    EXPECT_FALSE(WriteIniString(folder / "no-folder" / "x.ini", "S", "K", "v"));
}

TEST(IniFileWrite, WritesSeveralKeysOfASectionAtOnce) {
    const TempFolder folder;
    const fs::path file = folder.Write("mode.ini", "[Other]\nA=1\n[Mode3]\n7=0,0,0,0\n");
    ASSERT_TRUE(WriteIniStrings(file, "mode3", {{"7", "1,2,3,1"}, {"110", "4,5,6,1"}}));
    EXPECT_EQ(folder.Read("mode.ini"), "[Other]\nA=1\n[Mode3]\n7=1,2,3,1\n110=4,5,6,1\n");
    // One bad key refuses the whole write.
    EXPECT_FALSE(WriteIniStrings(file, "Mode3", {{"8", "ok"}, {"9", "two\nlines"}}));
    EXPECT_EQ(ReadIniString(file, "Mode3", "8", kFallback), kFallback);
}

// Several keys written at once read back as the same keys written one after the other would.
TEST(IniFileWrite, SeveralKeysAtOnceGiveTheSameFileAsOneAfterTheOther) {
    using Values = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        std::string before;
        Values values;
    };
    const Case cases[] = {
        {"", {{"a", "1"}, {"b", "2"}}},
        {"[Other]\nx=1", {{"a", "1"}}},
        {"[Other]\r\nx=1\r\n\r\n", {{"a", "1"}, {"A", "2"}}},
        {"[Mode1]\n  Key = old\nkey=shadow\n\n\n[Next]\nz=0\n", {{"KEY", "new"}, {"k2", "v"}}},
        {"[mode1]\n1=a\n2=b\n[MODE1]\n3=c\n", {{"3", "x"}, {"2", "y"}, {"1", "z"}, {"2", "w"}}},
        {"junk\n[Mode1]", {{" padded ", "v"}}},
        // Lone carriage returns, the last one ending the file: found by the INI fuzz target.
        {"; a\rb]\rc\r", {{"1", "x"}, {"2", "y"}}},
        {"[Mode1]\nk=v\r", {{"k", "w"}, {"new", "n"}}},
    };
    const TempFolder folder;
    for (const Case& c : cases) {
        const fs::path atOnce = folder.Write("at-once.ini", c.before);
        const fs::path oneByOne = folder.Write("one-by-one.ini", c.before);
        ASSERT_TRUE(WriteIniStrings(atOnce, "Mode1", c.values)) << c.before;
        for (const auto& [key, value] : c.values) {
            ASSERT_TRUE(WriteIniString(oneByOne, "Mode1", key, value)) << c.before;
        }
        EXPECT_EQ(folder.Read("at-once.ini"), folder.Read("one-by-one.ini")) << c.before;
    }
}

// A reader of many keys parses the file once and finds what ReadIniString finds.
TEST(IniFileRead, ASectionReadOnceAnswersAsSingleReads) {
    const TempFolder folder;
    const fs::path file = folder.Write("lookup.ini", std::string(kLookupFile));
    const IniSectionValues text = ReadIniSection(file, " text ");
    for (const char* key : {"hello", "HELLO", "Empty", "Quoted", "Single", "Half", "Inner",
                            "Spaced", "Hidden", "Late", "Key", "missing"}) {
        EXPECT_EQ(text.Read(key, kFallback), ReadIniString(file, "Text", key, kFallback)) << key;
        EXPECT_EQ(text.Read(key, kFallback, 3), ReadIniString(file, "Text", key, kFallback, 3))
            << key;
    }
    EXPECT_EQ(ReadIniSection(folder / "missing.ini", "Text").Read("Hello", kFallback), kFallback);
}

TEST(IniFileWrite, ChangesOnlyTheLineConcerned) {
    const TempFolder folder;
    const fs::path file = folder.Write("keep.ini",
                                       "; settings\n"
                                       "[First]\n"
                                       "  Name = old ; trailing\n"
                                       "name=shadowed\n"
                                       "junk line\n"
                                       "\n"
                                       "[Second]\n"
                                       "A=1\n"
                                       "\n"
                                       "\n"
                                       "[Third]\n"
                                       "B=2");
    ASSERT_TRUE(WriteIniString(file, "first", "NAME", "new"));
    ASSERT_TRUE(WriteIniString(file, "Second", "C", "3"));
    ASSERT_TRUE(WriteIniString(file, "Third", "D", "4"));
    ASSERT_TRUE(WriteIniString(file, "Fourth", "E", "5"));
    ASSERT_TRUE(WriteIniString(file, "Second", "a", std::nullopt));
    EXPECT_EQ(folder.Read("keep.ini"),
              "; settings\n"
              "[First]\n"
              "  Name=new\n"
              "name=shadowed\n"
              "junk line\n"
              "\n"
              "[Second]\n"
              "C=3\n"
              "\n"
              "\n"
              "[Third]\n"
              "B=2\n"
              "D=4\n"
              "\n"
              "[Fourth]\n"
              "E=5\n");
}

TEST(IniFileWrite, KeepsWindowsLineBreaksAndWritesUtf8) {
    const TempFolder folder;
    const std::u16string text = u"[S]\r\nA=\u00E9\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    const fs::path file = folder.Write("windows.ini", bytes);
    ASSERT_TRUE(WriteIniString(file, "S", "B", "2"));
    EXPECT_EQ(folder.Read("windows.ini"), "[S]\r\nA=\xC3\xA9\r\nB=2\r\n");
}

TEST(IniFileWrite, WritesThroughASymbolicLink) {
    const TempFolder folder;
    const fs::path target = folder.Write("target.ini", "[S]\nK=1\n");
    fs::create_symlink(target, folder / "link.ini");
    ASSERT_TRUE(WriteIniString(folder / "link.ini", "S", "K", "2"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
    EXPECT_EQ(folder.Read("target.ini"), "[S]\nK=2\n");
}

TEST(IniFileWrite, RefusesWhatWouldBreakTheFile) {
    const TempFolder folder;
    const fs::path file = folder.Write("strict.ini", "[S]\nK=1\n");
    EXPECT_FALSE(WriteIniString(file, "S", "K", "two\nlines"));
    EXPECT_FALSE(WriteIniString(file, "S", "A=B", "1"));
    EXPECT_FALSE(WriteIniString(file, "S", "", "1"));
    EXPECT_FALSE(WriteIniString(file, "", "K", "1"));
    EXPECT_FALSE(WriteIniString(file, "S\n[T]", "K", "1"));
    EXPECT_EQ(folder.Read("strict.ini"), "[S]\nK=1\n");
}

TEST(IniFileWrite, AFailedWriteKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    const TempFolder folder;
    fs::create_directory(folder / "locked");
    const fs::path file = folder.Write("locked/settings.ini", "[S]\nK=old\n");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(WriteIniString(file, "S", "K", "new"));
    EXPECT_EQ(ReadIniString(file, "S", "K", kFallback), "old");

    // A file that cannot be read is treated as missing, and never overwritten.
    const fs::path unreadable = folder.Write("unreadable.ini", "[S]\nK=old\n");
    fs::permissions(unreadable, fs::perms::owner_write);
    EXPECT_EQ(ReadIniString(unreadable, "S", "K", kFallback), kFallback);
    EXPECT_FALSE(WriteIniString(unreadable, "S", "K", "new"));
    fs::permissions(unreadable, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folder.Read("unreadable.ini"), "[S]\nK=old\n");
}

}  // namespace
}  // namespace zarvin
