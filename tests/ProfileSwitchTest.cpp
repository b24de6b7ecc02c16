#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "control/ProfileSwitch.h"
#include "model/KeyAssignment.h"
#include "model/TextKeys.h"
#include "store/ProfileStorePaths.h"
#include "support/ConnectedCoreRig.h"
#include "support/RecordingSwitchHost.h"

namespace zarvin {
namespace {

using test_support::ConnectedCoreRig;

class FakeWindows : public ProfileSwitchWindows {
public:
    bool KeyEditorOpen() const override { return keyEditorOpen; }
    bool ProfileDialogOpen() const override { return profileDialogOpen; }
    bool ProfileDialogApplyEnabled() const override { return profileDialogApplyEnabled; }
    void ProfileDialogShowActive(int profile) override { shownActive.push_back(profile); }

    bool keyEditorOpen = false;
    bool profileDialogOpen = false;
    bool profileDialogApplyEnabled = false;
    std::vector<int> shownActive;
};

// Records the apply with the keyboard's profile at that moment ("apply on profile 1") and the
// assignments with whether the working store is locked meanwhile ("assignments locked").
class FakeHost : public test_support::RecordingSwitchHost<> {
public:
    explicit FakeHost(ConnectedCoreRig& rig) : rig_(rig) {}

    void ApplyChanges() override {
        calls.push_back("apply on profile " + std::to_string(rig_.KeyboardProfile()));
        pending = false;
    }
    void ShowAssignments() override {
        calls.push_back(WorkingStoreLockedElsewhere() ? "assignments locked"
                                                      : "assignments unlocked");
    }

private:
    // Whether this thread holds the working store's lock, as another thread sees it.
    bool WorkingStoreLockedElsewhere() const {
        bool taken = false;
        std::thread([&] {
            std::recursive_mutex& lock = rig_.core.Working().Lock();
            taken = lock.try_lock();
            if (taken) {
                lock.unlock();
            }
        }).join();
        return !taken;
    }

    ConnectedCoreRig& rig_;
};

const std::vector<std::string> kRefreshCalls = {"assignments locked", "menu", "active"};

// A key record edited in the working store, not yet applied.
constexpr size_t kEditedRecord = KeyRecordNumber(0, 0x03A);
const KeyAssignment kEdit{.type = static_cast<uint16_t>(AssignmentType::Disabled)};

struct SwitchRig : ConnectedCoreRig {
    explicit SwitchRig(int activeProfile) : ConnectedCoreRig(activeProfile) {
        // The working store mirrors the keyboard through the cache file, as after a connection.
        core.Sync().LoadFromDevice();
        keyboard.ClearLog();
    }

    void EditWorkingStore() {
        core.Working().SetAssignment(kEditedRecord, kEdit);
        host.pending = true;
    }

    bool EditKept() {
        const std::lock_guard lock(core.Working().Lock());
        return core.Working().Assignment(kEditedRecord).type == kEdit.type;
    }

    FakeWindows windows;
    FakeHost host{*this};
    ProfileSwitch profileSwitch{core, host, windows};
};

TEST(ProfileSwitchTest, SwitchesTheKeyboardAndRefreshesTheWindow) {
    struct Case {
        int requested;
        int expected;
    };
    // 3 and above wrap to the first profile; a negative one leaves the keyboard as it is.
    const Case cases[] = {{0, 0}, {1, 1}, {3, 0}, {5, 0}, {-1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        SwitchRig rig(2);

        EXPECT_EQ(rig.profileSwitch.SelectProfile(c.requested), 1);

        EXPECT_EQ(rig.KeyboardProfile(), c.expected);
        EXPECT_EQ(rig.core.ActiveProfile(), c.expected);
        EXPECT_TRUE(rig.questions.asked.empty());
        EXPECT_EQ(rig.host.calls, kRefreshCalls);
    }
}

TEST(ProfileSwitchTest, AnOpenProfileDialogShowsTheNewProfile) {
    SwitchRig rig(1);
    rig.windows.profileDialogOpen = true;

    rig.profileSwitch.SelectProfile(5);

    EXPECT_EQ(rig.windows.shownActive, std::vector<int>{0});

    rig.windows.profileDialogOpen = false;
    rig.profileSwitch.SelectProfile(2);
    EXPECT_EQ(rig.windows.shownActive, std::vector<int>{0});
}

TEST(ProfileSwitchTest, RefusedWhileTheKeyEditorIsOpen) {
    SwitchRig rig(1);
    rig.windows.keyEditorOpen = true;
    rig.EditWorkingStore();

    EXPECT_EQ(rig.profileSwitch.SelectProfile(2), 0);

    EXPECT_EQ(rig.messages.Shown(), std::vector<std::string>{"PROFILE_SEELCT_PROMPT2"});
    EXPECT_TRUE(rig.questions.asked.empty());
    EXPECT_TRUE(rig.host.calls.empty());
    EXPECT_TRUE(rig.host.pending);
    EXPECT_TRUE(rig.EditKept());
    EXPECT_TRUE(rig.keyboard.ReceivedPackets().empty());
    EXPECT_EQ(rig.KeyboardProfile(), 1);
}

TEST(ProfileSwitchTest, AnsweringNoReloadsTheCacheFileThenSwitches) {
    struct Case {
        bool mainWindowPending;
        bool profileDialogApplyEnabled;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.mainWindowPending);
        SwitchRig rig(0);
        // What the cache file holds for the record, unlike the edit that is thrown away.
        const KeyAssignment cached{.type = static_cast<uint16_t>(AssignmentType::Key),
                                   .value = 0x01D};
        rig.core.Working().SetAssignment(kEditedRecord, cached);
        ASSERT_EQ(rig.core.Working().SaveProfileFile(ProfilePath(rig.context, 0)),
                  FileResult::Success);
        rig.EditWorkingStore();
        rig.host.pending = c.mainWindowPending;
        rig.windows.profileDialogApplyEnabled = c.profileDialogApplyEnabled;
        rig.questions.answer = false;

        EXPECT_EQ(rig.profileSwitch.SelectProfile(1), 1);

        EXPECT_EQ(rig.questions.asked, std::vector<std::string>{"PROFILE_SELECT_PROMPT"});
        const std::vector<std::string> expected = {"pending 0", "assignments locked", "menu",
                                                   "active"};
        EXPECT_EQ(rig.host.calls, expected);
        {
            const std::lock_guard lock(rig.core.Working().Lock());
            EXPECT_EQ(rig.core.Working().Assignment(kEditedRecord), cached);
        }
        EXPECT_EQ(rig.KeyboardProfile(), 1);
    }
}

TEST(ProfileSwitchTest, AnsweringYesAppliesToTheOldProfileThenSwitches) {
    SwitchRig rig(0);
    rig.EditWorkingStore();
    rig.questions.answer = true;

    EXPECT_EQ(rig.profileSwitch.SelectProfile(2), 1);

    const std::vector<std::string> expected = {"apply on profile 0", "assignments locked",
                                               "menu", "active"};
    EXPECT_EQ(rig.host.calls, expected);
    EXPECT_TRUE(rig.EditKept());
    EXPECT_EQ(rig.KeyboardProfile(), 2);
}

TEST(ProfileSwitchTest, ASwitchDuringTheQuestionDoesNotAskAgain) {
    SwitchRig rig(0);
    rig.EditWorkingStore();
    rig.questions.answer = false;
    int nestedResult = -1;
    int profileAfterNested = -1;
    rig.questions.whileAsking = [&] {
        nestedResult = rig.profileSwitch.SelectProfile(1);
        profileAfterNested = rig.KeyboardProfile();
    };

    EXPECT_EQ(rig.profileSwitch.SelectProfile(2), 1);

    EXPECT_EQ(rig.questions.asked.size(), 1u);
    EXPECT_EQ(nestedResult, 1);
    EXPECT_EQ(profileAfterNested, 1);
    EXPECT_EQ(rig.KeyboardProfile(), 2);

    // Once answered, the next switch with changes asks again.
    rig.EditWorkingStore();
    rig.profileSwitch.SelectProfile(0);
    EXPECT_EQ(rig.questions.asked.size(), 2u);
}

}  // namespace
}  // namespace zarvin
