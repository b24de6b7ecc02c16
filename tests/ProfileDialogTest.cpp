#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "dialogs/ZarvinDlgProfile.h"
#include "model/KeyAssignment.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "store/ProfileFile.h"
#include "store/Settings.h"
#include "support/ConnectedCoreRig.h"
#include "support/QtTestApplication.h"
#include "support/RecordingHost.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

// A key record of the working store that the keyboard does not hold.
constexpr size_t kMarkedRecord = KeyRecordNumber(2, 0x03A);
const KeyAssignment kMark{.type = static_cast<uint16_t>(AssignmentType::Disabled)};

// The dialog opened over the stand-in keyboard on profile 2.
struct DialogRig : test_support::ConnectedCoreRig {
    DialogRig() : ConnectedCoreRig(2, ZARVIN_PROGRAM_DATA_FOLDER) {
        dialog.Open();
        keyboard.ClearLog();
    }

    CPngButton& Button(const char* skinKey) {
        auto* button = dialog.findChild<CPngButton*>(QString::fromLatin1(skinKey));
        EXPECT_NE(button, nullptr) << skinKey;
        return *button;
    }
    CReportCtrl& List() { return *dialog.findChild<CReportCtrl*>(); }

    std::vector<bool> CheckMarks() {
        std::vector<bool> marks;
        for (int row = 0; row < List().ItemCount(); ++row) {
            marks.push_back(List().IsItemChecked(row));
        }
        return marks;
    }

    std::string Setting(int number) {
        return core.UserSettings().ReadProfileString(ProfileValueName(number), "(none)");
    }

    bool WorkingStoreMarked() {
        const std::lock_guard lock(core.Working().Lock());
        return core.Working().Assignment(kMarkedRecord) == kMark;
    }

    std::string CacheFolder() const { return context.userDataFolder.string(); }

    test_support::RecordingHost host;
    CZarvin_DlgProfile dialog{core, host};
};

TEST(ProfileDialogTest, OpensWithTheKeyboardsProfileChecked) {
    DialogRig rig;

    EXPECT_TRUE(rig.dialog.IsOpen());
    EXPECT_TRUE(rig.dialog.isVisible());
    ASSERT_EQ(rig.List().ItemCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(rig.List().ItemText(row, 1).toStdString(), "$Profile0");
        EXPECT_EQ(rig.List().ItemText(row, 2).toStdString(), rig.CacheFolder());
    }
    EXPECT_TRUE(rig.CacheFolder().ends_with('/'));
    EXPECT_EQ(rig.CheckMarks(), (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(rig.dialog.ApplyEnabled());
    EXPECT_FALSE(rig.Button("CONTROL2_APPLY").isEnabled());
    EXPECT_EQ(rig.Button("CONTROL_OK").geometry(), QRect(336, 350, 96, 34));
    EXPECT_EQ(rig.List().geometry(), QRect(24, 64, 512, 212));
}

TEST(ProfileDialogTest, CheckingAnotherRowEnablesApplyAndCancelTellsTheKeyboardNothing) {
    struct Case {
        const char* how;
        void (*cancel)(DialogRig& rig);
    };
    const Case cases[] = {
        {"Cancel", [](DialogRig& rig) { rig.Button("CONTROL_CANCEL").click(); }},
        {"Esc", [](DialogRig& rig) { QTest::keyClick(&rig.dialog, Qt::Key_Escape); }},
        {"keyboard gone", [](DialogRig& rig) { rig.dialog.CloseIfOpen(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        DialogRig rig;

        rig.List().SetItemChecked(0, true);
        EXPECT_EQ(rig.CheckMarks(), (std::vector<bool>{true, false, false}));
        EXPECT_TRUE(rig.dialog.ApplyEnabled());
        EXPECT_TRUE(rig.Button("CONTROL2_APPLY").isEnabled());

        c.cancel(rig);

        EXPECT_FALSE(rig.dialog.IsOpen());
        EXPECT_FALSE(rig.dialog.isVisible());
        EXPECT_FALSE(rig.dialog.ApplyEnabled());
        EXPECT_TRUE(rig.keyboard.ReceivedPackets().empty());
        EXPECT_EQ(rig.KeyboardProfile(), 2);
        EXPECT_TRUE(rig.host.calls.empty());
        EXPECT_EQ(rig.Setting(0), "(none)");
    }
}

TEST(ProfileDialogTest, ApplyWithNoRowCheckedKeepsTheKeyboardsProfile) {
    DialogRig rig;
    rig.core.Working().SetAssignment(kMarkedRecord, kMark);
    rig.List().SetItemChecked(2, false);

    rig.Button("CONTROL2_APPLY").click();

    EXPECT_EQ(rig.Setting(0), "3");
    for (int number = 1; number <= 3; ++number) {
        EXPECT_EQ(rig.Setting(number), rig.CacheFolder() + "$Profile0.fwc");
    }
    EXPECT_EQ(rig.KeyboardProfile(), 2);
    EXPECT_FALSE(rig.KeyboardReceived(Command::WriteDeviceInfo));
    // The working store was read back from the keyboard.
    EXPECT_TRUE(rig.KeyboardReceived(Command::ReadKeyMap));
    EXPECT_FALSE(rig.WorkingStoreMarked());
    const std::vector<std::string> expected = {"assignments", "menu", "active", "pending 0"};
    EXPECT_EQ(rig.host.calls, expected);
    EXPECT_FALSE(rig.dialog.ApplyEnabled());
    EXPECT_TRUE(rig.dialog.IsOpen());
}

TEST(ProfileDialogTest, DeleteRemovesTheSelectedRowOnly) {
    DialogRig rig;

    rig.Button("FUNC_DELETE").click();
    EXPECT_EQ(rig.List().ItemCount(), 3);
    EXPECT_FALSE(rig.dialog.ApplyEnabled());

    rig.List().SelectItem(2);
    rig.Button("FUNC_DELETE").click();
    EXPECT_EQ(rig.List().ItemCount(), 2);
    EXPECT_EQ(rig.List().NextItem(-1, CReportCtrl::RowState::Selected), 1);
    EXPECT_TRUE(rig.dialog.ApplyEnabled());
}

TEST(ProfileDialogTest, AddCreatesABlankBackupFileAndOkSavesTheList) {
    DialogRig rig;
    fs::path offered;
    const fs::path chosen = rig.folder / "backups/mine.fwc";
    fs::create_directories(chosen.parent_path());
    rig.dialog.SetSaveFileChooser([&](const fs::path& start) {
        offered = start;
        return fs::path();
    });

    rig.Button("FUNC_ADD").click();
    EXPECT_EQ(offered, rig.context.userDataFolder / "New profile");
    EXPECT_EQ(rig.List().ItemCount(), 3);
    EXPECT_FALSE(rig.dialog.ApplyEnabled());

    rig.dialog.SetSaveFileChooser([&](const fs::path&) { return chosen; });
    rig.Button("FUNC_ADD").click();
    ASSERT_EQ(rig.List().ItemCount(), 4);
    EXPECT_EQ(rig.List().ItemText(3, 1).toStdString(), "mine");
    EXPECT_EQ(rig.List().ItemText(3, 2).toStdString(), chosen.parent_path().string() + "/");
    EXPECT_EQ(fs::file_size(chosen), kProfileImageBytes);
    EXPECT_TRUE(rig.dialog.ApplyEnabled());

    rig.List().SetItemChecked(0, true);
    rig.Button("CONTROL_OK").click();

    EXPECT_EQ(rig.Setting(0), "4");
    EXPECT_EQ(rig.Setting(4), chosen.string());
    EXPECT_EQ(rig.KeyboardProfile(), 0);
    EXPECT_FALSE(rig.dialog.IsOpen());
    EXPECT_FALSE(rig.dialog.isVisible());
}

TEST(ProfileDialogTest, LoadAddsTheChosenFileUnread) {
    DialogRig rig;
    fs::path offered;
    rig.dialog.SetOpenFileChooser([&](const fs::path& start) {
        offered = start;
        return rig.folder / "elsewhere/not-a-backup.fwc";
    });

    rig.Button("FUNC_LOAD").click();

    EXPECT_EQ(offered, rig.context.userDataFolder);
    ASSERT_EQ(rig.List().ItemCount(), 4);
    EXPECT_EQ(rig.List().ItemText(3, 1).toStdString(), "not-a-backup");
    EXPECT_TRUE(rig.dialog.ApplyEnabled());
    EXPECT_TRUE(rig.messages.Shown().empty());
}

TEST(ProfileDialogTest, F1OpensTheHelp) {
    DialogRig rig;

    QTest::keyClick(&rig.dialog, Qt::Key_F1);

    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"help"});
    EXPECT_TRUE(rig.dialog.IsOpen());
}

TEST(ProfileDialogTest, OpensAgainWithAFreshList) {
    DialogRig rig;
    rig.List().SelectItem(0);
    rig.Button("FUNC_DELETE").click();
    rig.Button("CONTROL_CANCEL").click();

    rig.dialog.Open();

    EXPECT_TRUE(rig.dialog.IsOpen());
    EXPECT_EQ(rig.CheckMarks(), (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(rig.dialog.ApplyEnabled());
    rig.dialog.CloseIfOpen();
}

}  // namespace
}  // namespace zarvin
