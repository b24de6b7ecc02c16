#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "control/DeviceSync.h"
#include "control/ProfileMacros.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/HidDevice.h"
#include "device/UserMessages.h"
#include "keyboard/KeyboardIds.h"
#include "model/KeyAssignment.h"
#include "model/KeyMapCodec.h"
#include "model/LittleEndian.h"
#include "model/MacroAreaHeader.h"
#include "model/MacroRecord.h"
#include "model/TextKeys.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "store/ProfileStores.h"
#include "support/LinkRig.h"
#include "support/RecordingMessages.h"
#include "support/TempFolder.h"
#include "support/TemporaryRoots.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using sim::SimFirmware;
using sim::SimModel;

using test_support::kQuickTiming;
using test_support::RecordingMessages;

std::span<const uint8_t> BytesOf(const std::string& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

std::string TestText(std::string_view key) {
    return key == text_keys::MACRO_NEW_PREFIX ? "Macro " : std::string(key);
}

// The stand-in keyboard, connected as the device monitor connects it, with both stores and the
// synchronisation between them; the per-user folder is a temporary one.
struct SyncRig : test_support::LinkRig {
    explicit SyncRig(SimModel model)
        : LinkRig(model),
          context(test_support::TemporaryRoots(folder)),
          stores(context.workingConfigLock, context.appliedConfigLock),
          working(stores.Working()),
          applied(stores.Applied()),
          sync(context, link, image, stores, messages, TestText) {
        image.SetModel(sim::InfoOf(model));
        messages.onShown = [this](std::string_view) {
            packetsWhenShown.push_back(keyboard.ReceivedPackets().size());
        };
        Reconnect();
    }

    // What the monitor loads on a connection: the key matrix and the macro capacity.
    void Reconnect() {
        image.LoadConnectionData(link, messages);
        keyboard.ClearLog();
    }

    void SetMacroCapacity(uint8_t units) {
        keyboard.WithFirmware([&](SimFirmware& firmware) { firmware.SetMacroCapacity(units); });
        Reconnect();
    }

    test::TempFolder folder;
    DeviceImage image;
    AppContext context;
    ProfileStores stores;
    WorkingStore& working;
    AppliedStore& applied;
    RecordingMessages messages;
    // How many packets the keyboard had received when each message was shown.
    std::vector<size_t> packetsWhenShown;
    DeviceSync sync;
};

KeyAssignment Assigned(AssignmentType type, int32_t value = 0) {
    return {.type = static_cast<uint16_t>(type), .gId = 0, .value = value};
}

MacroRecord Macro(uint16_t id, std::u16string_view name, uint8_t cycles,
                  const std::vector<MacroAction>& actions) {
    MacroRecord macro;
    macro.SetName(name);
    macro.SetId(id);
    macro.SetCycles(cycles);
    macro.SetActionCount(static_cast<uint16_t>(actions.size()));
    for (size_t slot = 0; slot < actions.size(); ++slot) {
        macro.SetAction(slot, actions[slot]);
    }
    return macro;
}

// A macro of `count` presses of A, 10 ms apart.
MacroRecord LongMacro(uint16_t id, std::u16string_view name, size_t count) {
    return Macro(id, name, 1, std::vector<MacroAction>(count, MacroAction{10, 0x01E, 0}));
}

// Every kind of assignment a key map holds, spread over the three profiles.
const std::map<size_t, KeyAssignment> kAssignments = {
    {KeyRecordNumber(0, 0x03A), Assigned(AssignmentType::Key, 0x01D)},  // Caps Lock: Left Ctrl
    {KeyRecordNumber(0, 0x03B), Assigned(AssignmentType::Key, 0x030)},  // F1: B
    {KeyRecordNumber(0, 0x03C), Assigned(AssignmentType::PlayMacro, 2)},
    {KeyRecordNumber(0, 0x03D), Assigned(AssignmentType::StopMacro)},
    {KeyRecordNumber(1, 0x03E), Assigned(AssignmentType::Key, 0x171)},  // F4: left button
    {KeyRecordNumber(1, 0x03F), Assigned(AssignmentType::Key, 0x162)},  // F5: wheel down
    {KeyRecordNumber(1, 0x040), Assigned(AssignmentType::Disabled)},
    {KeyRecordNumber(2, 0x041), Assigned(AssignmentType::Media, 6)},
    {KeyRecordNumber(2, 0x042), Assigned(AssignmentType::Function, 10)},
    {KeyRecordNumber(2, 0x010), Assigned(AssignmentType::PlayMacro, 1)},  // Q
};

const std::vector<MacroRecord>& TestMacros() {
    static const std::vector<MacroRecord> macros = {
        Macro(1, u"Copy", 1, {{50, 0x01D, 0}, {30, 0x02E, 0}, {20, 0x02E, 1}, {0, 0x01D, 1}}),
        Macro(2, u"Wheel", 3, {{100, 0x161, 0}, {40950, 0x162, 0}, {0, 0x173, 1}}),
    };
    return macros;
}

void FillWorkingStore(WorkingStore& working) {
    ASSERT_TRUE(working.SetMacros(TestMacros()));
    for (const auto& [record, assignment] : kAssignments) {
        ASSERT_TRUE(working.SetAssignment(record, assignment));
    }
}

// The records of profiles 0-2 that are not Default, as type and value.
std::map<size_t, std::pair<uint16_t, int32_t>> Reassigned(const WorkingStore& working) {
    std::map<size_t, std::pair<uint16_t, int32_t>> reassigned;
    for (size_t record = 0; record < KeyRecordNumber(3, 0); ++record) {
        const KeyAssignment assignment = working.Assignment(record);
        if (!assignment.Is(AssignmentType::Default)) {
            reassigned[record] = {assignment.type, assignment.value};
        }
    }
    return reassigned;
}

class DeviceSyncModels : public ::testing::TestWithParam<SimModel> {};

TEST_P(DeviceSyncModels, ApplyThenReadBackGivesTheSameAssignmentsAndMacros) {
    SyncRig rig(GetParam());
    FillWorkingStore(rig.working);
    const auto written = Reassigned(rig.working);

    int firstFailure = CommandResult::NoReply;
    ASSERT_EQ(rig.sync.ApplyToDevice(true, &firstFailure), CommandResult::Success);
    EXPECT_EQ(firstFailure, CommandResult::Success);
    EXPECT_TRUE(rig.messages.Shown().empty());

    rig.working.EmptyStore();
    bool refreshed = false;
    ASSERT_EQ(rig.sync.LoadFromDevice([&] { refreshed = true; }), FileResult::Success);
    EXPECT_TRUE(refreshed);
    EXPECT_EQ(Reassigned(rig.working), written);
    EXPECT_EQ(rig.working.Macros(), TestMacros());

    // The cache file and a backup hold the same, in the file form.
    ASSERT_EQ(rig.sync.BackupDeviceToFile(rig.folder / "keyboard.fwc"), FileResult::Success);
    const std::string backup = rig.folder.Read("keyboard.fwc");
    EXPECT_EQ(backup, rig.folder.Read("data/VX77HUE_8246/$Profile0"));
    EXPECT_TRUE(IsValidProfileFile(BytesOf(backup)));
}

INSTANTIATE_TEST_SUITE_P(BothKeyboards, DeviceSyncModels,
                         ::testing::Values(SimModel::Keyboard126, SimModel::Keyboard128));

// Which key maps an apply writes, in which order, inside one transfer.
TEST(DeviceSync, AnApplySendsMacroAreaThenKeyMapsInOneTransfer) {
    struct Case {
        bool allProfiles;
        std::vector<int> profiles;
    };
    for (const Case& c : {Case{true, {0, 1, 2}}, Case{false, {1}}}) {
        SyncRig rig(SimModel::Keyboard126);
        rig.keyboard.ChangeProfileOnKeyboard(1);
        FillWorkingStore(rig.working);
        ASSERT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);
        ASSERT_TRUE(rig.working.SetAssignment(KeyRecordNumber(1, 0x03A),
                                              Assigned(AssignmentType::Disabled)));
        rig.keyboard.ClearLog();
        ASSERT_EQ(rig.sync.ApplyToDevice(c.allProfiles), CommandResult::Success);

        std::vector<Packet> packets = rig.keyboard.ReceivedPackets();
        // Before the transfer an apply reads (the active profile, the key maps it overwrites).
        while (!packets.empty() && packets.front()[PacketByte::Command] != Command::BeginTransfer) {
            packets.erase(packets.begin());
        }
        ASSERT_GE(packets.size(), 4u);
        EXPECT_EQ(packets.front()[PacketByte::Command], Command::BeginTransfer);
        EXPECT_EQ(packets.back()[PacketByte::Command], Command::EndTransfer);
        std::vector<int> keyMapProfiles;
        bool keyMapSeen = false;
        for (size_t i = 1; i + 1 < packets.size(); ++i) {
            const uint8_t command = packets[i][PacketByte::Command];
            const uint16_t offset = LoadLe16(packets[i], PacketByte::Offset);
            if (command == Command::WriteMacroArea) {
                EXPECT_FALSE(keyMapSeen) << "macro area after a key map, packet " << i;
            } else {
                ASSERT_EQ(command, Command::WriteKeyMap) << "packet " << i;
                keyMapSeen = true;
                const int profile = offset / rig.link.Geometry().stride;
                if (keyMapProfiles.empty() || keyMapProfiles.back() != profile) {
                    keyMapProfiles.push_back(profile);
                }
            }
        }
        EXPECT_EQ(keyMapProfiles, c.profiles);
    }
}

// Key maps name macros by their position in the area. An apply of the active profile after an
// edit that moves macros must not leave the other profiles' keys on the old positions.
TEST(DeviceSync, AnApplyThatMovesMacrosRewritesEveryProfile) {
    struct Case {
        const char* edit;
        std::vector<MacroRecord> macros;
        std::vector<int> profilesWritten;
    };
    const std::vector<MacroRecord> renamed = {TestMacros()[0], Macro(2, u"Scroll", 3, {})};
    const std::vector<Case> cases = {
        {"first macro deleted", {TestMacros()[1]}, {0, 1, 2}},
        {"macros swapped", {TestMacros()[1], TestMacros()[0]}, {0, 1, 2}},
        {"a macro renamed", renamed, {1}},
        {"macros unchanged", TestMacros(), {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        SyncRig rig(SimModel::Keyboard128);
        FillWorkingStore(rig.working);
        ASSERT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);
        rig.keyboard.ChangeProfileOnKeyboard(1);
        // As the window has it: loaded from the keyboard, then edited in the macro page.
        ASSERT_EQ(rig.sync.LoadFromDevice(), FileResult::Success);
        ASSERT_TRUE(CommitMacroList(rig.working, c.macros).committed);
        rig.keyboard.ClearLog();
        ASSERT_EQ(rig.sync.ApplyToDevice(false), CommandResult::Success);

        std::vector<int> written;
        for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
            if (packet[PacketByte::Command] == Command::WriteKeyMap) {
                const int profile =
                    LoadLe16(packet, PacketByte::Offset) / rig.link.Geometry().stride;
                if (written.empty() || written.back() != profile) {
                    written.push_back(profile);
                }
            }
        }
        EXPECT_EQ(written, c.profilesWritten);

        // Every key that plays a macro on the keyboard plays the one the user left on it.
        const auto expected = Reassigned(rig.working);
        const auto playing = [](const WorkingStore& store, size_t record) {
            const KeyAssignment assignment = store.Assignment(record);
            for (const MacroRecord& macro : store.Macros()) {
                if (assignment.Is(AssignmentType::PlayMacro) && macro.Id() == assignment.value) {
                    return macro.Name();
                }
            }
            return std::u16string();
        };
        std::map<size_t, std::u16string> macrosBefore;
        for (const auto& [record, unused] : expected) {
            macrosBefore[record] = playing(rig.working, record);
        }
        ASSERT_EQ(rig.sync.LoadFromDevice(), FileResult::Success);
        for (const auto& [record, name] : macrosBefore) {
            EXPECT_EQ(playing(rig.working, record), name) << "record " << record;
        }
        EXPECT_EQ(Reassigned(rig.working).size(), expected.size());
    }
}

TEST(DeviceSync, NoOtherExchangeLandsInsideTheTransfer) {
    SyncRig rig(SimModel::Keyboard128);
    FillWorkingStore(rig.working);
    std::atomic<bool> done{false};
    std::thread reader([&] {
        std::array<uint8_t, kDeviceInfoSize> info{};
        while (!done.load()) {
            ReadDeviceInfo(rig.link, info);
        }
    });
    const int result = rig.sync.ApplyToDevice(true);
    done.store(true);
    reader.join();
    ASSERT_EQ(result, CommandResult::Success);

    const std::vector<uint8_t> commands = rig.SentCommands();
    const auto begin = std::find(commands.begin(), commands.end(), Command::BeginTransfer);
    const auto end = std::find(commands.begin(), commands.end(), Command::EndTransfer);
    ASSERT_LT(begin, end);
    EXPECT_EQ(std::count(begin, end, Command::ReadDeviceInfo), 0);
}

TEST(DeviceSync, MacrosBeyondTheCapacitySendNothing) {
    SyncRig rig(SimModel::Keyboard126);
    // One unit is 128 bytes; 40 actions take 16 + 2 + 4 + 160.
    rig.SetMacroCapacity(1);
    ASSERT_TRUE(rig.working.SetMacros({LongMacro(1, u"m", 40)}));
    ASSERT_TRUE(
        rig.working.SetAssignment(KeyRecordNumber(0, 0x03A), Assigned(AssignmentType::Disabled)));

    EXPECT_EQ(rig.sync.ApplyToDevice(true), CommandResult::NoReply);
    EXPECT_TRUE(rig.keyboard.ReceivedPackets().empty());
    ASSERT_EQ(rig.messages.Shown().size(), 1u);
    EXPECT_EQ(rig.messages.Shown()[0], text_keys::EXTRA_MACRO_TOO_LONG);
    EXPECT_EQ(rig.working.MacroCount(), 1);
    EXPECT_TRUE(rig.working.Assignment(KeyRecordNumber(0, 0x03A)).Is(AssignmentType::Disabled));
}

TEST(DeviceSync, MacrosThatFitOnlyWithoutNamesAreWrittenWithoutThem) {
    SyncRig rig(SimModel::Keyboard128);
    // 16 + 2 + 4 + 4 × 50 = 222 bytes fit 256; the name's 60 bytes more do not.
    rig.SetMacroCapacity(2);
    ASSERT_TRUE(rig.working.SetMacros({LongMacro(1, std::u16string(30, u'n'), 50)}));

    EXPECT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);
    ASSERT_EQ(rig.messages.Shown().size(), 1u);
    EXPECT_EQ(rig.messages.Shown()[0], text_keys::EXTRA_PROFILE_SPACE_TIGHT);
    // Shown after the whole transfer.
    EXPECT_EQ(rig.packetsWhenShown[0], rig.keyboard.ReceivedPackets().size());

    rig.keyboard.WithFirmware([](SimFirmware& firmware) {
        const MacroAreaHeader header = MacroAreaHeader::Parse(firmware.Memory().macroArea);
        EXPECT_EQ(header.length, 222);
        EXPECT_EQ(header.namesFlag, 0);
    });
    ASSERT_EQ(rig.sync.LoadFromDevice(), FileResult::Success);
    ASSERT_EQ(rig.working.MacroCount(), 1);
    EXPECT_EQ(rig.working.Macros()[0].Name(), u"Macro 1");
    EXPECT_EQ(rig.working.Macros()[0].ActionCount(), 50);
}

// A keyboard that fails part-way through an apply: only the last key map decides the result,
// and the first failure is told.
TEST(DeviceSync, AFailurePartWayIsReported) {
    SyncRig dryRun(SimModel::Keyboard126);
    FillWorkingStore(dryRun.working);
    ASSERT_EQ(dryRun.sync.ApplyToDevice(true), CommandResult::Success);
    const std::vector<uint8_t> commands = dryRun.SentCommands();
    const auto packetOf = [&](uint8_t command) {
        return static_cast<int>(std::find(commands.begin(), commands.end(), command) -
                                commands.begin() + 1);
    };
    const int firstMacroAreaPacket = packetOf(Command::WriteMacroArea);
    const int firstKeyMapPacket = packetOf(Command::WriteKeyMap);
    const int lastKeyMapPacket = static_cast<int>(commands.size()) - 1;

    struct Case {
        int refusedPacket;
        int result;
    };
    for (const Case& c : {Case{firstMacroAreaPacket, CommandResult::Success},
                          Case{firstKeyMapPacket, CommandResult::Success},
                          Case{lastKeyMapPacket, CommandResult::NoReply}}) {
        SyncRig rig(SimModel::Keyboard126);
        FillWorkingStore(rig.working);
        rig.keyboard.RefusePacket(c.refusedPacket, kStatusRefusedFE);
        int firstFailure = CommandResult::Success;
        EXPECT_EQ(rig.sync.ApplyToDevice(true, &firstFailure), c.result) << c.refusedPacket;
        EXPECT_EQ(firstFailure, CommandResult::RefusedFE) << c.refusedPacket;
        // A failed area stops there; the batch goes on to its end.
        EXPECT_EQ(rig.SentCommands().back(), Command::EndTransfer);
    }

    SyncRig unplugged(SimModel::Keyboard126);
    FillWorkingStore(unplugged.working);
    unplugged.keyboard.UnplugAtPacket(firstKeyMapPacket);
    int firstFailure = CommandResult::Success;
    EXPECT_EQ(unplugged.sync.ApplyToDevice(true, &firstFailure), CommandResult::NoReply);
    EXPECT_NE(firstFailure, CommandResult::Success);
}

TEST(DeviceSync, WithoutAnActiveProfileAnApplyOfTheActiveProfileWritesNothing) {
    SyncRig rig(SimModel::Keyboard126);
    FillWorkingStore(rig.working);
    rig.keyboard.StaySilentFor(kQuickTiming.attempts);
    int firstFailure = CommandResult::Success;
    EXPECT_EQ(rig.sync.ApplyToDevice(false, &firstFailure), CommandResult::NoReply);
    EXPECT_EQ(firstFailure, CommandResult::NoReply);
    for (const uint8_t command : rig.SentCommands()) {
        EXPECT_EQ(command, Command::ReadDeviceInfo);
    }
}

TEST(DeviceSync, AKeyboardWithoutMacrosBacksUpToTheBareImage) {
    SyncRig rig(SimModel::Keyboard128);
    // Whatever follows, a first word other than AA 55 means an empty area.
    rig.keyboard.WithFirmware([](SimFirmware& firmware) {
        std::vector<uint8_t>& area = firmware.Memory().macroArea;
        area.assign(area.size(), 0x11);
    });
    const fs::path backup = rig.folder / "bare.fwc";
    ASSERT_EQ(rig.sync.BackupDeviceToFile(backup), FileResult::Success);
    const std::vector<uint8_t> commands = rig.SentCommands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), Command::ReadMacroArea), 1);

    const std::string file = rig.folder.Read("bare.fwc");
    const std::span<const uint8_t> bytes = BytesOf(file);
    EXPECT_EQ(bytes.size(), kProfileImageBytes);
    EXPECT_TRUE(IsValidProfileFile(bytes));
    EXPECT_EQ(LoadLe16(bytes, 14), 0);  // macro count
    // The G keys of every profile carry their identifiers; table 3 stays cleared.
    for (size_t profile = 0; profile < kKeyTableCount; ++profile) {
        const size_t at =
            kKeyTablesOffset + KeyAssignment::kSize * KeyRecordNumber(profile, kFirstGKeySlot);
        EXPECT_EQ(LoadLe16(bytes, at + 2), profile < 3 ? kGKeyIds[0] : 0) << profile;
    }
}

TEST(DeviceSync, ASilentKeyboardLeavesAClearedImageAndTheBackupFileAsItWas) {
    SyncRig rig(SimModel::Keyboard126);
    FillWorkingStore(rig.working);
    const fs::path backup = rig.folder.Write("old.fwc", "old contents");
    rig.keyboard.Unplug();

    int result = CommandResult::Success;
    EXPECT_EQ(rig.sync.BackupDeviceToFile(backup, &result), FileResult::Failure);
    EXPECT_NE(result, CommandResult::Success);
    EXPECT_EQ(rig.folder.Read("old.fwc"), "old contents");

    EXPECT_EQ(rig.sync.LoadFromDevice(), FileResult::Failure);
    EXPECT_EQ(rig.working.Image(), DefaultProfileImage(0));
    EXPECT_EQ(rig.working.MacroCount(), 0);
}

// Ways a keyboard fails the next request.
struct Fault {
    const char* name;
    std::function<void(sim::SimKeyboard&)> arm;
};

const std::vector<Fault>& NextRequestFaults() {
    static const std::vector<Fault> faults = {
        {"refused 0xff", [](sim::SimKeyboard& k) { k.RefusePacket(1, kStatusRefusedFF); }},
        {"refused 0xfe", [](sim::SimKeyboard& k) { k.RefusePacket(1, kStatusRefusedFE); }},
        {"unanswered", [](sim::SimKeyboard& k) { k.StaySilentFor(kQuickTiming.attempts); }},
    };
    return faults;
}

// The operations that build or read key maps, each returning whether it succeeded.
struct KeyMapOperation {
    const char* name;
    std::function<bool(SyncRig&)> run;
};

const std::vector<KeyMapOperation>& KeyMapOperations() {
    static const std::vector<KeyMapOperation> operations = {
        {"backup",
         [](SyncRig& rig) {
             return rig.sync.BackupDeviceToFile(rig.folder / "backup.fwc") == FileResult::Success;
         }},
        {"apply of the active profile",
         [](SyncRig& rig) { return rig.sync.ApplyToDevice(false) == CommandResult::Success; }},
        {"apply of all profiles",
         [](SyncRig& rig) { return rig.sync.ApplyToDevice(true) == CommandResult::Success; }},
        {"apply of profile 1",
         [](SyncRig& rig) { return rig.sync.ApplyProfileToDevice(1) == CommandResult::Success; }},
    };
    return operations;
}

bool AnyWrite(const std::vector<uint8_t>& commands) {
    return std::any_of(commands.begin(), commands.end(), [](uint8_t command) {
        return command == Command::BeginTransfer || command == Command::WriteMacroArea ||
               command == Command::WriteKeyMap;
    });
}

// A key map is never built, nor read into a file, against a layout that is not the keyboard's:
// with the default key matrix unread at the connection and again before the operation, the
// operation fails and writes nothing; the next one reads the layout and goes through.
TEST(DeviceSync, NothingIsWrittenOrBackedUpWithoutTheKeyboardsLayout) {
    for (const Fault& fault : NextRequestFaults()) {
        for (const KeyMapOperation& operation : KeyMapOperations()) {
            const std::string label = std::string(fault.name) + ", " + operation.name;
            SyncRig rig(SimModel::Keyboard126);
            fault.arm(rig.keyboard);
            rig.Reconnect();
            ASSERT_FALSE(rig.image.KeyMatrixRead()) << label;
            FillWorkingStore(rig.working);
            // The active profile is known, so the layout is the operation's first request.
            ASSERT_EQ(rig.image.GetActiveProfile(rig.link), 0);
            rig.keyboard.ClearLog();
            rig.messages.Clear();
            sim::SimMemory before;
            rig.keyboard.WithFirmware([&](SimFirmware& firmware) { before = firmware.Memory(); });

            fault.arm(rig.keyboard);
            EXPECT_FALSE(operation.run(rig)) << label;
            EXPECT_FALSE(AnyWrite(rig.SentCommands())) << label;
            EXPECT_FALSE(fs::exists(rig.folder / "backup.fwc")) << label;
            rig.keyboard.WithFirmware(
                [&](SimFirmware& firmware) { EXPECT_TRUE(firmware.Memory() == before) << label; });
            if (std::string_view(operation.name) != "backup") {
                EXPECT_EQ(rig.messages.Shown(),
                          std::vector<std::string>{std::string(text_keys::MAIN_APPLY_NOT_READ)})
                    << label;
            }

            EXPECT_TRUE(operation.run(rig)) << label;
            EXPECT_TRUE(rig.image.KeyMatrixRead()) << label;
        }
    }
}

// After an apply made once the layout could be read, the keyboard holds every assignment, the
// positions the built-in matrix does not know (64 and above) and the G keys included.
TEST(DeviceSync, AnApplyAfterALateLayoutReadKeepsEveryPosition) {
    SyncRig rig(SimModel::Keyboard126);
    rig.keyboard.RefusePacket(1, kStatusRefusedFF);
    rig.Reconnect();
    FillWorkingStore(rig.working);
    const auto written = Reassigned(rig.working);
    ASSERT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);

    std::vector<uint8_t> matrix;
    std::vector<uint8_t> keyMaps;
    rig.keyboard.WithFirmware([&](SimFirmware& firmware) {
        const auto held = firmware.DefaultKeyMatrix();
        matrix.assign(held.begin(), held.end());
        keyMaps = firmware.Memory().keyMaps;
    });
    // Profile 1 has a mouse button on F4 and the wheel on F5; everything past position 63 is
    // as the keyboard's layout says.
    const size_t length = rig.link.Geometry().blockLength;
    for (size_t at = 3 * 64; at < 3 * 126; ++at) {
        EXPECT_EQ(keyMaps[length + at], matrix[at]) << "profile 1, byte " << at;
    }
    rig.working.EmptyStore();
    ASSERT_EQ(rig.sync.LoadFromDevice(), FileResult::Success);
    EXPECT_EQ(Reassigned(rig.working), written);
}

// Entries that no record can express, one per profile, at keys the user leaves alone.
struct HeldEntry {
    size_t profile;
    KeyCode key;
    std::array<uint8_t, 3> entry;
};
constexpr HeldEntry kInexpressible[] = {
    {0, 0x010, {0x03, 0x34, 0x12}},  // Q: a consumer usage the media table lacks
    {1, 0x011, {0x04, 0x81, 0x00}},  // W: system control, Power
    {2, 0x012, {0x05, 0x02, 0x07}},  // E: stop-macro with a stray third byte
    {1, 0x013, {0x03, 0x34, 0x12}},  // R
};

// The position of `key` in the keyboard's default key matrix.
size_t PositionOfKey(SyncRig& rig, KeyCode key) {
    const DefaultKeyMatrix matrix = rig.image.KeyMatrix();
    for (size_t i = 0; i < static_cast<size_t>(rig.image.Model().keyCount); ++i) {
        if (EntryKeyCode({matrix[3 * i], matrix[3 * i + 1], matrix[3 * i + 2]}) == key) {
            return i;
        }
    }
    ADD_FAILURE() << "no key " << key;
    return 0;
}

std::vector<uint8_t> KeyboardKeyMaps(SyncRig& rig) {
    std::vector<uint8_t> keyMaps;
    rig.keyboard.WithFirmware(
        [&](SimFirmware& firmware) { keyMaps = firmware.Memory().keyMaps; });
    return keyMaps;
}

void PutHeldEntries(SyncRig& rig) {
    const size_t length = rig.link.Geometry().blockLength;
    std::vector<std::pair<size_t, std::array<uint8_t, 3>>> puts;
    for (const HeldEntry& held : kInexpressible) {
        puts.emplace_back(length * held.profile + 3 * PositionOfKey(rig, held.key), held.entry);
    }
    rig.keyboard.WithFirmware([&](SimFirmware& firmware) {
        for (const auto& [at, entry] : puts) {
            std::copy(entry.begin(), entry.end(), firmware.Memory().keyMaps.begin() +
                                                      static_cast<std::ptrdiff_t>(at));
        }
    });
}

// Only the profile the user changed is written, and only the key the user changed differs
// afterwards: the keyboard's own bytes stay everywhere else, whichever way the apply goes.
TEST(DeviceSync, KeysTheUserDidNotTouchKeepTheKeyboardsBytes) {
    struct Case {
        const char* name;
        std::function<int(SyncRig&)> apply;
        std::vector<int> keyMapsWritten;
    };
    const Case cases[] = {
        {"active profile", [](SyncRig& rig) { return rig.sync.ApplyToDevice(false); }, {1}},
        {"all profiles", [](SyncRig& rig) { return rig.sync.ApplyToDevice(true); }, {0, 1, 2}},
        {"profile 1", [](SyncRig& rig) { return rig.sync.ApplyProfileToDevice(1); }, {1}},
    };
    for (const Case& c : cases) {
        SyncRig rig(SimModel::Keyboard126);
        rig.keyboard.ChangeProfileOnKeyboard(1);
        PutHeldEntries(rig);
        ASSERT_EQ(rig.sync.LoadFromDevice(), FileResult::Success) << c.name;
        std::vector<uint8_t> expected = KeyboardKeyMaps(rig);
        const size_t length = rig.link.Geometry().blockLength;
        // Caps Lock of profile 1 is disabled.
        ASSERT_TRUE(rig.working.SetAssignment(KeyRecordNumber(1, 0x03A),
                                              Assigned(AssignmentType::Disabled)));
        const size_t capsLock = length + 3 * PositionOfKey(rig, 0x03A);
        std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(capsLock), 3, uint8_t{0});
        rig.keyboard.ClearLog();

        ASSERT_EQ(c.apply(rig), CommandResult::Success) << c.name;
        EXPECT_EQ(KeyboardKeyMaps(rig), expected) << c.name;
        std::vector<int> written;
        for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
            if (packet[PacketByte::Command] == Command::WriteKeyMap) {
                const int profile = LoadLe16(packet, PacketByte::Offset) / static_cast<int>(length);
                if (written.empty() || written.back() != profile) {
                    written.push_back(profile);
                }
            }
        }
        EXPECT_EQ(written, c.keyMapsWritten) << c.name;
    }
}

// When the keyboard could not be read, the working store starts cleared; an apply then writes
// the keys the user changed and leaves every other key as the keyboard holds it.
TEST(DeviceSync, AfterAFailedReadOnlyTheKeysTheUserChangedAreWritten) {
    SyncRig rig(SimModel::Keyboard126);
    FillWorkingStore(rig.working);
    ASSERT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);
    PutHeldEntries(rig);
    std::vector<uint8_t> expected = KeyboardKeyMaps(rig);

    rig.keyboard.StaySilentFor(kQuickTiming.attempts);
    ASSERT_EQ(rig.sync.LoadFromDevice(), FileResult::Failure);
    ASSERT_TRUE(Reassigned(rig.working).empty());
    ASSERT_TRUE(rig.working.SetAssignment(KeyRecordNumber(0, 0x03A),
                                          Assigned(AssignmentType::Disabled)));
    const size_t capsLock = 3 * PositionOfKey(rig, 0x03A);
    std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(capsLock), 3, uint8_t{0});

    std::vector<uint8_t> macroArea;
    rig.keyboard.WithFirmware(
        [&](SimFirmware& firmware) { macroArea = firmware.Memory().macroArea; });

    ASSERT_EQ(rig.sync.ApplyToDevice(true), CommandResult::Success);
    EXPECT_EQ(KeyboardKeyMaps(rig), expected);
    rig.keyboard.WithFirmware(
        [&](SimFirmware& firmware) { EXPECT_EQ(firmware.Memory().macroArea, macroArea); });
}

}  // namespace
}  // namespace zarvin
