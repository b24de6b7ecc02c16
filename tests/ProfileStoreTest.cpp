#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <iterator>
#include <mutex>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "device/UserMessages.h"
#include "model/KeyAssignment.h"
#include "model/LittleEndian.h"
#include "model/MacroRecord.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/ProfileStorePaths.h"
#include "support/RecordingMessages.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test_support::RecordingMessages;

constexpr size_t kCapsLock = KeyRecordNumber(0, 0x3A);
constexpr size_t kProfile1Key5 = KeyRecordNumber(1, 5);

size_t ValueFieldOf(size_t record) {
    return kKeyTablesOffset + KeyAssignment::kSize * record + 4;
}

std::span<uint8_t> BytesOf(std::string& bytes) {
    return {reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()};
}

void RefreshChecksum(std::string& file) {
    const auto bytes = BytesOf(file);
    bytes[31] = ProfileHeaderChecksum(bytes.first<kProfileHeaderBytes>());
}

KeyAssignment Assigned(AssignmentType type, int32_t value = 0, uint16_t gId = 0) {
    return {.type = static_cast<uint16_t>(type), .gId = gId, .value = value};
}

MacroRecord SampleMacro(uint16_t id, std::u16string_view name, size_t actions) {
    MacroRecord macro;
    macro.SetName(name);
    macro.SetId(id);
    macro.SetCycles(3);
    macro.SetActionCount(static_cast<uint16_t>(actions));
    for (size_t i = 0; i < actions; ++i) {
        macro.SetAction(i, {.delay = static_cast<int32_t>(10 * i),
                            .key = static_cast<uint16_t>(0x1E + i % 26),
                            .state = static_cast<uint16_t>(i % 2)});
    }
    return macro;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::recursive_mutex workingLock_;
    std::recursive_mutex appliedLock_;
    WorkingStore store_{workingLock_};
    RecordingMessages messages_;

    // One macro, a program path on Caps Lock of profile 0 and a text on key 5 of profile 1.
    void FillSmallStore(WorkingStore& store) {
        ASSERT_TRUE(store.SetMacros({SampleMacro(1, u"one", 4)}));
        ASSERT_TRUE(
            store.SetAssignment(kCapsLock, Assigned(AssignmentType::LaunchProgram), u"C:\\a.exe"));
        ASSERT_TRUE(
            store.SetAssignment(kProfile1Key5, Assigned(AssignmentType::TextBlock), u"hello"));
    }
};

TEST_F(ProfileStoreTest, AnEmptyStoreSavesTheClearedImageByteForByte) {
    ASSERT_EQ(store_.SaveProfileFile(folder_ / "empty.fwc"), FileResult::Success);
    const std::string file = folder_.Read("empty.fwc");
    ASSERT_EQ(file.size(), 32832u);

    const std::string header(
        "\x46\x44\x20\x00\x03\x00\x01\x00\x40\x80\x00\x00\x00\x08\x00\x00"
        "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x76",
        32);
    const std::string deviceBlock(
        "\x4B\x48\x20\x00\x20\x80\x00\x00\x04\x00\x00\x02\x00\x00\x00\x00"
        "\x45\x0C\x04\x50\x4F\x1C\x0E\x00\x00\x00\x00\x00\x00\x00\x00\x00",
        32);
    EXPECT_EQ(file.substr(0, 32), header);
    EXPECT_EQ(file.substr(32, 32), deviceBlock);

    // All four tables cleared, except the G keys of table 0 with their identifiers.
    std::string tables(4 * 8192, '\0');
    for (size_t i = 0; i < kGKeyIds.size(); ++i) {
        const size_t at = KeyAssignment::kSize * (kFirstGKeySlot + i) + 2;
        tables[at] = static_cast<char>(kGKeyIds[i] & 0xFF);
        tables[at + 1] = static_cast<char>(kGKeyIds[i] >> 8);
    }
    EXPECT_EQ(file.substr(64), tables);
    EXPECT_EQ(file.substr(64 + 16 * 256, 4), std::string("\0\0\x01\x03", 4));  // G1
    EXPECT_EQ(file.substr(64 + 16 * 273, 4), std::string("\0\0\x09\x13", 4));  // G18
}

TEST_F(ProfileStoreTest, TwoMacrosAndOneProgramPathTakeTheirExactSizes) {
    ASSERT_TRUE(store_.SetMacros({SampleMacro(1, u"a", 2), SampleMacro(2, u"b", 0)}));
    ASSERT_TRUE(
        store_.SetAssignment(kCapsLock, Assigned(AssignmentType::LaunchProgram, 77), u"C:\\a.exe"));
    EXPECT_EQ(store_.LaunchStrings().Total(), 18u);

    const std::string file = store_.ProfileFileBytes();
    ASSERT_EQ(file.size(), 32832u + 65024u + 18u);
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    EXPECT_EQ(LoadLe32(bytes, 8), file.size());
    EXPECT_EQ(LoadLe16(bytes, 14), 2);
    EXPECT_EQ(LoadLe32(bytes, 16), 18u);
    EXPECT_EQ(LoadLe32(bytes, ValueFieldOf(kCapsLock)), 0u);
    EXPECT_EQ(file.substr(file.size() - 18), std::string("C\0:\0\\\0a\0.\0e\0x\0e\0\0\0", 18));
}

TEST_F(ProfileStoreTest, SaveThenLoadGivesBackRecordsMacrosAndStrings) {
    // A text block far longer than a path, with characters outside Latin-1 and a surrogate pair.
    std::u16string text;
    for (int i = 0; i < 20000; ++i) {
        text += u"Grüße, €uro \U0001F600\n";
    }
    ASSERT_TRUE(store_.SetMacros({SampleMacro(1, u"Ação", 4000), SampleMacro(7, u"second", 3)}));
    ASSERT_TRUE(store_.SetAssignment(kCapsLock, Assigned(AssignmentType::LaunchProgram),
                                     u"/usr/bin/gnome-calculator"));
    ASSERT_TRUE(
        store_.SetAssignment(KeyRecordNumber(2, 0x1E), Assigned(AssignmentType::TextBlock), text));
    ASSERT_TRUE(
        store_.SetAssignment(KeyRecordNumber(2, 0x1F), Assigned(AssignmentType::TextBlock), u""));
    ASSERT_TRUE(
        store_.SetAssignment(KeyRecordNumber(1, 0x10), Assigned(AssignmentType::PlayMacro, 7, 5)));
    KeyAssignment marked = Assigned(AssignmentType::Key, 0x1D);
    marked.mark = -2;
    marked.reserved = 0x12345678;
    ASSERT_TRUE(store_.SetAssignment(KeyRecordNumber(0, 0x01), marked));

    const fs::path file = folder_ / "backup.fwc";
    ASSERT_EQ(store_.SaveProfileFile(file), FileResult::Success);
    EXPECT_EQ(ValidateProfileFile(file, messages_), FileResult::Success);

    std::recursive_mutex otherLock;
    WorkingStore loaded(otherLock);
    loaded.EmptyStore();
    ASSERT_EQ(loaded.LoadProfileFile(file), FileResult::Success);
    EXPECT_EQ(loaded.Image(), store_.Image());
    EXPECT_EQ(loaded.Macros(), store_.Macros());
    EXPECT_EQ(loaded.LaunchStrings(), store_.LaunchStrings());
    EXPECT_EQ(*loaded.LaunchStrings().At(KeyRecordNumber(2, 0x1E)), text);
    EXPECT_EQ(loaded.Assignment(KeyRecordNumber(0, 0x01)), marked);
    EXPECT_EQ(loaded.Macros()[0].Name(), u"Ação");
    EXPECT_EQ(loaded.Macros()[0].Action(3999), (MacroAction{39990, 0x1E + 3999 % 26, 1}));
    EXPECT_TRUE(messages_.Shown().empty());
}

// A damaged file, or one this program would not write, and what validation makes of it.
struct FileCase {
    const char* name;
    std::function<void(std::string&)> damage;
    int validation;
    bool message;
    // Whether loading it (without validating first) must fail and load nothing.
    bool loadFails;
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.name;
}

class DamagedFile : public ProfileStoreTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(DamagedFile, IsJudgedAndLoadsNothingWhenRefused) {
    WorkingStore source(appliedLock_);
    FillSmallStore(source);
    std::string bytes = source.ProfileFileBytes();
    GetParam().damage(bytes);
    const fs::path file = folder_.Write("damaged.fwc", bytes);

    EXPECT_EQ(ValidateProfileFile(file, messages_), GetParam().validation);
    if (GetParam().message) {
        EXPECT_EQ(messages_.Shown(),
                  std::vector<std::string>{"PROFILE_FORMAT_ERROR:" + file.string()});
    } else {
        EXPECT_TRUE(messages_.Shown().empty());
    }

    const ProfileImage before = store_.Image();
    if (GetParam().loadFails) {
        EXPECT_EQ(store_.LoadProfileFile(file), FileResult::Failure);
        EXPECT_EQ(store_.Image(), before);
        EXPECT_TRUE(store_.Macros().empty());
        EXPECT_EQ(store_.LaunchStrings().Total(), 0u);
    }

    // The same bytes in memory load exactly as the file does.
    std::recursive_mutex fromFileLock;
    std::recursive_mutex fromBytesLock;
    WorkingStore fromFile(fromFileLock);
    WorkingStore fromBytes(fromBytesLock);
    EXPECT_EQ(fromBytes.LoadProfileBytes(bytes), fromFile.LoadProfileFile(file));
    EXPECT_EQ(fromBytes.Image(), fromFile.Image());
    EXPECT_EQ(fromBytes.Macros(), fromFile.Macros());
    EXPECT_EQ(fromBytes.LaunchStrings(), fromFile.LaunchStrings());
}

// The small store's file: one macro, then the strings "C:\a.exe" at 0 and "hello" at 18.
constexpr size_t kStringBlock = 32832 + 32512;
constexpr size_t kFileSize = kStringBlock + 30;

void SetField32(std::string& file, size_t at, uint32_t value, bool refresh = true) {
    StoreLe32(BytesOf(file), at, value);
    if (refresh) {
        RefreshChecksum(file);
    }
}

void SetField16(std::string& file, size_t at, uint16_t value) {
    StoreLe16(BytesOf(file), at, value);
    RefreshChecksum(file);
}

INSTANTIATE_TEST_SUITE_P(
    ProfileFiles, DamagedFile,
    ::testing::Values(
        FileCase{"as written", [](std::string&) {}, FileResult::Success, false, false},
        FileCase{"flag 1", [](std::string& f) { f[30] = 1, RefreshChecksum(f); },
                 FileResult::Success, false, false},
        FileCase{"bytes after the end", [](std::string& f) { f += "trailing"; },
                 FileResult::Success, false, false},
        FileCase{"32831 bytes", [](std::string& f) { f.resize(32831); }, FileResult::Failure, false,
                 true},
        FileCase{"one byte short", [](std::string& f) { f.resize(kFileSize - 1); },
                 FileResult::Failure, true, true},
        FileCase{"half a macro", [](std::string& f) { f.resize(32832 + 100); }, FileResult::Failure,
                 true, true},
        FileCase{"wrong magic", [](std::string& f) { SetField16(f, 0, 0x4447); },
                 FileResult::Failure, true, false},
        FileCase{"checksum off by one", [](std::string& f) { ++f[31]; }, FileResult::Failure, true,
                 false},
        FileCase{"flag 2", [](std::string& f) { f[30] = 2, RefreshChecksum(f); },
                 FileResult::Failure, true, false},
        FileCase{"total size lying", [](std::string& f) { SetField32(f, 8, kFileSize + 2); },
                 FileResult::Failure, true, false},
        FileCase{"string size beyond the file",
                 [](std::string& f) {
                     SetField32(f, 8, kFileSize + 64, false);
                     SetField32(f, 16, 30 + 64);
                 },
                 FileResult::Failure, true, true},
        FileCase{"macro count beyond the file", [](std::string& f) { SetField16(f, 14, 2); },
                 FileResult::Failure, true, true},
        FileCase{"string offset past the block",
                 [](std::string& f) { SetField32(f, ValueFieldOf(kProfile1Key5), 30); },
                 FileResult::Failure, true, true},
        FileCase{"negative string offset",
                 [](std::string& f) { SetField32(f, ValueFieldOf(kCapsLock), 0xFFFFFFFE); },
                 FileResult::Failure, true, true},
        FileCase{"two records share a string",
                 [](std::string& f) { SetField32(f, ValueFieldOf(kProfile1Key5), 0); },
                 FileResult::Failure, true, true},
        FileCase{"string without terminator", [](std::string& f) { f[kFileSize - 2] = 'x'; },
                 FileResult::Failure, true, false},
        FileCase{"odd string offset",
                 [](std::string& f) { SetField32(f, ValueFieldOf(kProfile1Key5), 19); },
                 FileResult::Failure, true, false},
        FileCase{
            "macro with 4001 actions",
            [](std::string& f) { SetField16(f, 32832 + MacroRecord::kActionCountOffset, 4001); },
            FileResult::Failure, true, false},
        FileCase{"macro name without terminator",
                 [](std::string& f) { std::fill_n(f.begin() + 32832, 500, 'n'); },
                 FileResult::Failure, true, false}),
    [](const ::testing::TestParamInfo<FileCase>& param) {
        std::string name = param.param.name;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return std::isalnum(static_cast<unsigned char>(c)) == 0; }, '_');
        return name;
    });

TEST_F(ProfileStoreTest, AHundredAndOneMacrosFailValidationEvenWhenTheSizeMatches) {
    std::string file(32832 + 101 * 32512, '\0');
    const ProfileImage image = DefaultProfileImage(0);
    std::copy(image.begin(), image.end(), file.begin());
    SetField16(file, 14, 101);
    SetField32(file, 8, static_cast<uint32_t>(file.size()));
    const fs::path path = folder_.Write("many.fwc", file);

    EXPECT_EQ(ValidateProfileFile(path, messages_), FileResult::Failure);
    EXPECT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(store_.LoadProfileFile(path), FileResult::Failure);
}

TEST_F(ProfileStoreTest, LoadingRoundsOddOffsetsDownAndEndsAnUnterminatedLastString) {
    WorkingStore source(appliedLock_);
    FillSmallStore(source);
    std::string file = source.ProfileFileBytes();
    SetField32(file, ValueFieldOf(kProfile1Key5), 19);
    file[kFileSize - 2] = 'x';
    file += "y";  // half a unit more, beyond the block's whole units
    SetField32(file, 16, 31, false);
    SetField32(file, 8, kFileSize + 1);
    const fs::path path = folder_.Write("lenient.fwc", file);

    ASSERT_EQ(store_.LoadProfileFile(path), FileResult::Success);
    EXPECT_EQ(*store_.LaunchStrings().At(kProfile1Key5), u"hellox");
    EXPECT_EQ(*store_.LaunchStrings().At(kCapsLock), u"C:\\a.exe");
    EXPECT_EQ(store_.LaunchStrings().Total(), 18u + 14u);
}

TEST_F(ProfileStoreTest, ValidationTellsMissingFromUnreadable) {
    EXPECT_EQ(ValidateProfileFile(folder_ / "missing.fwc", messages_), FileResult::Failure);
    fs::create_directory(folder_ / "folder.fwc");
    EXPECT_EQ(ValidateProfileFile(folder_ / "folder.fwc", messages_), FileResult::CannotOpen);
    if (::geteuid() != 0) {
        const fs::path locked = folder_.Write("locked.fwc", store_.ProfileFileBytes());
        fs::permissions(locked, fs::perms::none);
        EXPECT_EQ(ValidateProfileFile(locked, messages_), FileResult::CannotOpen);
    }
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(store_.LoadProfileFile(folder_ / "missing.fwc"), FileResult::Failure);
}

TEST_F(ProfileStoreTest, AFailedSaveKeepsThePreviousFile) {
    const fs::path file = folder_ / "keep.fwc";
    ASSERT_EQ(store_.SaveProfileFile(file), FileResult::Success);
    const std::string previous = folder_.Read("keep.fwc");
    FillSmallStore(store_);

    fs::create_directory(folder_ / "taken.fwc");
    fs::create_directory(folder_ / "taken.fwc" / "inside");
    EXPECT_EQ(store_.SaveProfileFile(folder_ / "taken.fwc"), FileResult::Failure);
    EXPECT_TRUE(fs::is_directory(folder_ / "taken.fwc" / "inside"));

    if (::geteuid() != 0) {
        fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(store_.SaveProfileFile(file), FileResult::Failure);
        fs::permissions(folder_.Path(), fs::perms::owner_all);
    }
    EXPECT_EQ(folder_.Read("keep.fwc"), previous);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 2);
}

TEST_F(ProfileStoreTest, ChangingARecordsTypeFreesItsLaunchString) {
    FillSmallStore(store_);
    ASSERT_EQ(store_.LaunchStrings().Total(), 30u);
    ASSERT_TRUE(store_.SetAssignment(kCapsLock, Assigned(AssignmentType::Disabled)));
    EXPECT_EQ(store_.LaunchStrings().At(kCapsLock), nullptr);
    EXPECT_EQ(store_.LaunchStrings().Total(), 12u);

    // Refused strings and records change nothing.
    EXPECT_FALSE(store_.SetAssignment(kProfile1Key5, Assigned(AssignmentType::TextBlock),
                                      std::u16string(u"a\0b", 3)));
    EXPECT_FALSE(store_.SetAssignment(kKeyRecordCount, Assigned(AssignmentType::Key, 0x1E)));
    EXPECT_EQ(*store_.LaunchStrings().At(kProfile1Key5), u"hello");
    EXPECT_FALSE(store_.SetMacros(std::vector<MacroRecord>(101)));
    EXPECT_EQ(store_.MacroCount(), 1);
}

TEST_F(ProfileStoreTest, TheAppliedSnapshotPacksTheStringsInRecordOrder) {
    FillSmallStore(store_);
    ASSERT_TRUE(
        store_.SetAssignment(KeyRecordNumber(0, 3), Assigned(AssignmentType::TextBlock), u"hi"));
    AppliedStore applied(appliedLock_);
    ASSERT_TRUE(applied.TakeSnapshotOf(store_));

    EXPECT_EQ(applied.LaunchStringTotal(), 6u + 18u + 12u);
    const std::string expected("h\0i\0\0\0C\0:\0\\\0a\0.\0e\0x\0e\0\0\0h\0e\0l\0l\0o\0\0\0", 36);
    EXPECT_EQ(
        std::string(applied.PackedLaunchStrings().begin(), applied.PackedLaunchStrings().end()),
        expected);
    EXPECT_EQ(applied.Assignment(KeyRecordNumber(0, 3)).value, 0);
    EXPECT_EQ(applied.Assignment(kCapsLock).value, 6);
    EXPECT_EQ(applied.Assignment(kProfile1Key5).value, 24);
    EXPECT_EQ(applied.Macros(), store_.Macros());

    const auto header = ProfileFileHeader::Parse(std::span(applied.Image()).first<32>());
    EXPECT_EQ(header.macroCount, 1);
    EXPECT_EQ(header.stringBytes, 36u);
    EXPECT_EQ(header.totalSize, 32832u + 32512u + 36u);
    EXPECT_EQ(header.checksum, ProfileHeaderChecksum(std::span(applied.Image()).first<32>()));

    // A snapshot: later edits stay in the working store.
    ASSERT_TRUE(store_.SetAssignment(kCapsLock, Assigned(AssignmentType::Default)));
    EXPECT_EQ(applied.LaunchStringTotal(), 36u);
    EXPECT_TRUE(applied.Assignment(kCapsLock).Is(AssignmentType::LaunchProgram));
}

TEST_F(ProfileStoreTest, ABlankProfileFileCarriesItsFlag) {
    const fs::path file = folder_ / "blank.fwc";
    ASSERT_EQ(CreateDefaultImage(file, 1), FileResult::Success);
    EXPECT_EQ(ValidateProfileFile(file, messages_), FileResult::Success);
    const std::string bytes = folder_.Read("blank.fwc");
    ASSERT_EQ(bytes.size(), 32832u);
    EXPECT_EQ(bytes[30], 1);
    store_.EmptyStore();
    ASSERT_EQ(store_.LoadProfileFile(file), FileResult::Success);
    EXPECT_EQ(store_.Image(), DefaultProfileImage(1));
}

TEST(ProfileStorePaths, EveryProfileSharesOneCacheFileInASeededUserFolder) {
    TempFolder folder;
    fs::create_directories(folder / "bin/Skins");
    folder.Write("bin/Skins/UserDengColor_3.userd", "[PRESENTMODE]\nmode=0\n");
    const AppContext context(
        AppRoots{folder / "bin/zarvin", folder / "data", folder / "config", folder / "run"});
    std::recursive_mutex lock;
    WorkingStore store(lock);

    EXPECT_EQ(SaveToProfilePath(store, context), FileResult::Failure);
    const fs::path cache = ProfilePath(context, 0);
    EXPECT_EQ(cache, folder / "data/VX77HUE_8246/$Profile0");
    EXPECT_EQ(ProfilePath(context, 1), cache);
    EXPECT_EQ(ProfilePath(context, 2), cache);
    for (const char* seeded :
         {"UserDengColor_0.userd", "UserDengColor_1.userd", "UserDengColor_2.userd"}) {
        EXPECT_EQ(folder.Read(std::string("data/VX77HUE_8246/") + seeded),
                  "[PRESENTMODE]\nmode=0\n");
    }
    EXPECT_FALSE(fs::exists(cache));

    // A missing file is seeded again, whoever made the folder; the user's files stay as they are.
    fs::remove(folder / "data/VX77HUE_8246/UserDengColor_1.userd");
    folder.Write("data/VX77HUE_8246/UserDengColor_2.userd", "[PRESENTMODE]\nmode=7\n");
    ASSERT_EQ(store.SaveProfileFile(cache), FileResult::Success);
    EXPECT_EQ(SaveToProfilePath(store, context), FileResult::Success);
    EXPECT_EQ(folder.Read("data/VX77HUE_8246/UserDengColor_1.userd"), "[PRESENTMODE]\nmode=0\n");
    EXPECT_EQ(folder.Read("data/VX77HUE_8246/UserDengColor_2.userd"), "[PRESENTMODE]\nmode=7\n");
}

// A folder made by something else first (the stand-in's memory file, the cache file) still
// gets the three user-mode files.
TEST(ProfileStorePaths, AFolderMadeBeforeGetsItsUserModeFiles) {
    TempFolder folder;
    fs::create_directories(folder / "bin/Skins");
    folder.Write("bin/Skins/UserDengColor_3.userd", "[MODENAME]\n0=Waves\n");
    folder.Write("data/VX77HUE_8246/stand-in-keyboard-126.img", "image");
    const AppContext context(
        AppRoots{folder / "bin/zarvin", folder / "data", folder / "config", folder / "run"});
    EnsureUserFolder(context);
    for (const int profile : {0, 1, 2}) {
        EXPECT_EQ(folder.Read("data/VX77HUE_8246/UserDengColor_" + std::to_string(profile) +
                              ".userd"),
                  "[MODENAME]\n0=Waves\n")
            << profile;
    }
}

}  // namespace
}  // namespace zarvin
