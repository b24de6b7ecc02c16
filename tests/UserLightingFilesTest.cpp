#include <gtest/gtest.h>

#include <string>

#include "control/LightingPanel.h"
#include "store/IniFile.h"
#include "store/UserLightingFiles.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

struct FilesRig {
    FilesRig() : files(folder.Path() / "data", folder.Path() / "bin/Skins/UserDengColor_") {
        std::filesystem::create_directories(folder / "data");
        std::filesystem::create_directories(folder / "bin/Skins");
    }
    std::string Read(int profile) const { return folder.Read("data/UserDengColor_" + std::to_string(profile) + ".userd"); }

    test::TempFolder folder;
    UserLightingFiles files;
};

TEST(UserLightingFilesTest, MissingFileReadsTheDefaults) {
    FilesRig rig;
    EXPECT_EQ(rig.files.ReadPresentMode(2), 0);
    EXPECT_EQ(rig.files.ReadModeName(2, 9), "0");
    const UserModeTools tools = rig.files.ReadModeTools(2, 4);
    EXPECT_EQ(tools.tool, 0);
    EXPECT_EQ(tools.baseColour, 0u);
    EXPECT_EQ(tools.brushColour, 0u);
    const UserKeyEntry entry = rig.files.ReadKeyEntry(2, 4, 17);
    EXPECT_EQ(entry.colour, MakeColour(255, 0, 0));
    EXPECT_TRUE(entry.followsBase);
}

TEST(UserLightingFilesTest, KeyEntriesReadAsScannedAndBounded) {
    struct Case {
        const char* value;
        ColourValue colour;
        bool followsBase;
    };
    const Case cases[] = {
        {"10,20,30,7", MakeColour(10, 20, 30), true},
        {"10,20,30,0", MakeColour(10, 20, 30), false},
        {" 1, 2, 3, 0", MakeColour(1, 2, 3), false},
        {"10,20", MakeColour(10, 20, 0), true},       // the rest keeps the defaults
        {"abc", MakeColour(255, 0, 0), true},
        {"300,-5,99999999999,0", MakeColour(255, 0, 255), false},
        {"1 ,2,3,0", MakeColour(1, 0, 0), true},      // a comma must follow at once
    };
    FilesRig rig;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteIniString(rig.files.FileOf(0), "Mode1", "64", std::string(c.value)));
        const UserKeyEntry entry = rig.files.ReadKeyEntry(0, 1, 64);
        EXPECT_EQ(entry.colour, c.colour) << c.value;
        EXPECT_EQ(entry.followsBase, c.followsBase) << c.value;
    }
}

TEST(UserLightingFilesTest, PresentModeStaysWithinTheTenModes) {
    const std::pair<const char*, int> cases[] = {
        {"3", 3}, {"9", 9}, {"7x", 7}, {"abc", 0}, {"", 0}, {"12", 9}, {"-4", 0}, {"99999999999", 9},
    };
    FilesRig rig;
    for (const auto& [value, mode] : cases) {
        ASSERT_TRUE(WriteIniString(rig.files.FileOf(1), "PRESENTMODE", "mode", std::string(value)));
        EXPECT_EQ(rig.files.ReadPresentMode(1), mode) << value;
    }
}

TEST(UserLightingFilesTest, WritesUseTheFileSectionAndFormat) {
    FilesRig rig;
    rig.files.WriteModeTools(0, 3, {.tool = 1, .baseColour = MakeColour(64, 128, 255),
                                    .brushColour = MakeColour(1, 2, 3)});
    rig.files.WriteModeName(1, 0, "Evening");
    rig.files.WriteKeyEntry(2, 5, 110, {MakeColour(0, 255, 0), false});
    rig.files.WritePresentMode(2, 6);

    EXPECT_EQ(rig.Read(0), "[Mode3]\ntool=1\njcolor=64,128,255\ncolor=1,2,3\n");
    EXPECT_EQ(rig.Read(1), "[MODENAME]\n0=Evening\n");
    EXPECT_EQ(ReadIniString(rig.files.FileOf(2), "Mode5", "110", ""), "0,255,0,0");
    EXPECT_EQ(rig.files.ReadPresentMode(2), 6);
    const UserModeTools tools = rig.files.ReadModeTools(0, 3);
    EXPECT_EQ(tools.tool, 1);
    EXPECT_EQ(tools.baseColour, MakeColour(64, 128, 255));
    EXPECT_EQ(tools.brushColour, MakeColour(1, 2, 3));
}

TEST(UserLightingFilesTest, RestoreFromTemplateCopiesItByteForByte) {
    FilesRig rig;
    const std::string factory = "[PRESENTMODE]\r\nmode=4\r\n[Mode4]\r\n17=1,2,3,0\r\n";
    rig.folder.Write("bin/Skins/UserDengColor_3.userd", factory);
    rig.files.WriteModeName(0, 1, "mine");

    rig.files.RestoreFromTemplate(0);

    EXPECT_EQ(rig.Read(0), factory);
    EXPECT_EQ(rig.files.ReadPresentMode(0), 4);
    EXPECT_EQ(rig.files.ReadModeName(0, 1), "0");
}

TEST(UserLightingFilesTest, RestoreWithoutTemplateLeavesAnEmptyFile) {
    FilesRig rig;
    rig.files.WritePresentMode(1, 5);

    rig.files.RestoreFromTemplate(1);

    EXPECT_TRUE(std::filesystem::exists(rig.files.FileOf(1)));
    EXPECT_EQ(rig.Read(1), "");
    EXPECT_EQ(rig.files.ReadPresentMode(1), 0);
}

}  // namespace
}  // namespace zarvin
