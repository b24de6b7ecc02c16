// Settings files the program does not read: named with their reason, never rewritten.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "model/TextKeys.h"
#include "platform/WholeFile.h"
#include "store/AppContext.h"
#include "store/RegistryFile.h"
#include "store/Settings.h"
#include "store/UnreadableSettingsFiles.h"
#include "store/UserLightingFiles.h"
#include "support/RecordingMessages.h"
#include "support/TempFolder.h"
#include "support/TemporaryRoots.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

const std::string kTooLarge =
    "it is larger than " + std::to_string(kMaxSettingsFileBytes) + " bytes";

// A file of `text` made larger than any settings file (sparse, so it costs no disk).
void WriteOversized(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    { std::ofstream(file, std::ios::binary) << text; }
    fs::resize_file(file, kMaxSettingsFileBytes + 1);
}

std::string Start(const fs::path& file, size_t length) {
    std::string start(length, '\0');
    std::ifstream(file, std::ios::binary).read(start.data(), static_cast<std::streamsize>(length));
    return start;
}

TEST(UnreadableSettingsFiles, NamesEachFileThereThatCannotBeReadAndWhy) {
    const test::TempFolder folder;
    const AppContext context(test_support::TemporaryRoots(folder));
    const fs::path registry = RegistryFilePath(context.configFolder);
    const fs::path userModes = UserLightingFiles(context).FileOf(2);
    const fs::path fine = UserLightingFiles(context).FileOf(0);
    WriteOversized(registry, "Windows Registry Editor Version 5.00\n");
    fs::create_directories(userModes);  // a folder in a file's place
    { std::ofstream(fine) << "[PRESENTMODE]\nmode=1\n"; }

    const std::vector<UnreadableFile> unreadable = UnreadableSettingsFiles(context);
    ASSERT_EQ(unreadable.size(), 2u);
    EXPECT_EQ(unreadable[0].file, registry);
    EXPECT_EQ(unreadable[0].reason, kTooLarge);
    EXPECT_EQ(unreadable[1].file, userModes);
    EXPECT_EQ(unreadable[1].reason, "it is a folder, not a file");

    test_support::RecordingMessages messages;
    ReportUnreadableSettingsFiles(context, messages);
    EXPECT_EQ(messages.Shown(),
              (std::vector<std::string>{
                  std::string(text_keys::EXTRA_SETTINGS_FILE_UNUSED) + ":" + registry.string() +
                      " (" + kTooLarge + ")",
                  std::string(text_keys::EXTRA_SETTINGS_FILE_UNUSED) + ":" + userModes.string() +
                      " (it is a folder, not a file)"}));
}

TEST(UnreadableSettingsFiles, NothingIsReportedForMissingOrReadableFiles) {
    const test::TempFolder folder;
    const AppContext context(test_support::TemporaryRoots(folder));
    EXPECT_TRUE(UnreadableSettingsFiles(context).empty());
    ASSERT_TRUE(RegistryFile(RegistryFilePath(context.configFolder))
                    .WriteDword(kSettingsKey, kLanguageIdValue, 0x0409));
    EXPECT_TRUE(UnreadableSettingsFiles(context).empty());
}

// Every writer leaves a file it cannot read as it is: what it holds is the user's.
TEST(UnreadableSettingsFiles, WritesLeaveATooLargeFileAsItIs) {
    const test::TempFolder folder;
    const AppContext context(test_support::TemporaryRoots(folder));
    const std::string registryText =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\VX77HUE_8246]\n";
    const fs::path registryFile = RegistryFilePath(context.configFolder);
    WriteOversized(registryFile, registryText);
    const Settings settings(RegistryFile(registryFile), [] { return uint16_t{0x0409}; });
    EXPECT_FALSE(settings.WriteProfileString("Flip", "1"));
    settings.WriteLanguageId(0x0416);
    EXPECT_EQ(settings.ReadProfileString("Flip", "none"), "none");

    const UserLightingFiles userModes(context);
    const std::string userModeText = "[PRESENTMODE]\nmode=4\n";
    WriteOversized(userModes.FileOf(1), userModeText);
    EXPECT_EQ(userModes.ReadPresentMode(1), 0);
    EXPECT_FALSE(userModes.WritePresentMode(1, 2));
    EXPECT_FALSE(userModes.WriteKeyEntries(1, 0, {{3, UserKeyEntry{MakeColour(1, 2, 3), false}}}));

    for (const auto& [file, text] :
         {std::pair{registryFile, registryText}, std::pair{userModes.FileOf(1), userModeText}}) {
        EXPECT_EQ(fs::file_size(file), kMaxSettingsFileBytes + 1) << file;
        EXPECT_EQ(Start(file, text.size()), text) << file;
    }
}

}  // namespace
}  // namespace zarvin
