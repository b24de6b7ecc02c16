#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/BusyIndicator.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/DeviceMonitor.h"
#include "device/EventListener.h"
#include "device/HidDevice.h"
#include "device/HidrawNodeWatch.h"
#include "device/UserMessages.h"
#include "device/WindowMessages.h"
#include "sim/SimKeyboard.h"
#include "support/RecordingMessages.h"
#include "support/RecordingWindow.h"
#include "support/SocketNodeSource.h"
#include "support/TempFolder.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Records = std::vector<std::string>;
using sim::SimKeyboard;
using sim::SimModel;
using test_support::RecordingMessages;
using test_support::RecordingWindow;

// Short waits keep the tests fast; the stand-in answers well within them.
constexpr DeviceThreadTiming kQuick{.startDelay = 1ms,
                                    .presencePoll = 5ms,
                                    .rescan = 10ms,
                                    .trayNoticeHold = 1ms,
                                    .busyHideDelay = 5ms};
// Waits that only a stop ends.
constexpr DeviceThreadTiming kEndless{
    .startDelay = 1ms, .presencePoll = 1h, .rescan = 1h, .trayNoticeHold = 1h, .busyHideDelay = 1h};

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The stand-in keyboard with the command link, the device image and a recording window, and
// the threads under test started on them.
struct Rig {
    explicit Rig(SimModel model = SimModel::Keyboard126) : keyboard(model) {}
    ~Rig() {
        listener.reset();
        monitor.reset();
    }

    void StartMonitor(const DeviceThreadTiming& timing = kQuick) {
        monitor =
            std::make_unique<DeviceMonitor>(link, image, messages, window, autoShowDone, timing);
        ASSERT_TRUE(monitor->Start());
    }
    void StartListener(const DeviceThreadTiming& timing = kQuick) {
        listener = std::make_unique<EventListener>(keyboard, window, timing);
        ASSERT_TRUE(listener->Start());
        ASSERT_TRUE(WaitUntil([&] { return listener->Listening() || !keyboard.Plugged(); }));
    }

    SimKeyboard keyboard;
    HidDevice command{keyboard};
    CommandLink link{command, ExchangeTiming{.writeTimeout = 200ms, .readTimeout = 50ms}};
    DeviceImage image;
    RecordingMessages messages;
    RecordingWindow window;
    std::atomic<bool> autoShowDone{false};
    std::unique_ptr<DeviceMonitor> monitor;
    std::unique_ptr<EventListener> listener;
};

TEST(DeviceMonitor, KeyboardAttachedAtStartIsLoadedThenTheWindowOpens) {
    for (const SimModel model : {SimModel::Keyboard126, SimModel::Keyboard128}) {
        const KeyboardModel& info = sim::InfoOf(model);
        SCOPED_TRACE(info.keyCount);
        Rig rig(model);
        // What the window finds when it reloads: the model and the connection data in place.
        bool connectedAtReload = false;
        int keysAtReload = 0;
        size_t capacityAtReload = 0;
        rig.window.OnSend([&](WindowMessage message) {
            if (message == WindowMessage::Reload) {
                connectedAtReload = rig.link.Connected();
                keysAtReload = rig.image.Model().keyCount;
                capacityAtReload = rig.image.MacroCapacity();
            }
        });

        rig.StartMonitor();
        ASSERT_TRUE(rig.window.WaitFor("post SP OPEN"));
        rig.monitor->Stop();

        EXPECT_EQ(rig.window.Records(), (Records{"send TR PROF", "tray 0 141", "post SP OPEN"}));
        EXPECT_EQ(rig.window.TrayIconShown(), TrayIcon::Connected);
        EXPECT_TRUE(rig.autoShowDone);
        EXPECT_TRUE(connectedAtReload);
        EXPECT_EQ(keysAtReload, info.keyCount);
        EXPECT_EQ(capacityAtReload, size_t{info.factoryMacroCapacity} * 128);
        EXPECT_EQ(rig.link.Geometry().blockLength, info.keyMapLength);
        EXPECT_EQ(rig.link.Geometry().stride, info.keyMapLength);
        // The probe wakes the keyboard with one request before the connection reads anything.
        const std::vector<Packet> sent = rig.keyboard.ReceivedPackets();
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent[0][PacketByte::Command], Command::ReadDeviceInfo);
        EXPECT_EQ(sent[1][PacketByte::Command], Command::ReadDefaultKeyMap);
    }
}

TEST(DeviceMonitor, StartedWithStartFlagOnlyLoadsTheKeyboard) {
    Rig rig;
    rig.autoShowDone = true;
    rig.StartMonitor();
    ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
    rig.monitor->Stop();
    EXPECT_EQ(rig.window.Records(), (Records{"send TR PROF", "tray 0 141"}));
}

TEST(DeviceMonitor, KeyboardAttachedLaterDoesNotOpenTheWindow) {
    Rig rig;
    rig.keyboard.Unplug();
    rig.StartMonitor();
    ASSERT_TRUE(WaitUntil([&] { return rig.autoShowDone.load(); }));
    EXPECT_TRUE(rig.window.Records().empty());
    EXPECT_FALSE(rig.link.Connected());

    rig.keyboard.Plug();
    ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
    rig.monitor->Stop();
    EXPECT_EQ(rig.window.Records(), (Records{"send TR PROF", "tray 0 141"}));
    EXPECT_TRUE(rig.link.Connected());
}

TEST(DeviceMonitor, UnpluggingClosesTheEditorsAndDisconnectsUntilPluggedAgain) {
    // With waits that only a stop ends, the stand-in's hang-up and its plug are what wake the
    // monitor.
    for (const DeviceThreadTiming& timing : {kQuick, kEndless}) {
        SCOPED_TRACE(timing.presencePoll.count());
        Rig rig;
        rig.StartMonitor(timing);
        ASSERT_TRUE(rig.window.WaitFor("post SP OPEN"));
        ASSERT_EQ(rig.image.GetActiveProfile(rig.link), 0);  // now cached
        rig.window.ClearRecords();

        rig.keyboard.Unplug();
        ASSERT_TRUE(rig.window.WaitFor("tray 0 128"));
        EXPECT_EQ(rig.window.Records(), (Records{"send GS 0", "hide", "tray 0 128"}));
        EXPECT_EQ(rig.window.TrayIconShown(), TrayIcon::Disconnected);
        EXPECT_FALSE(rig.link.Connected());
        std::array<uint8_t, kDeviceInfoSize> info{};
        EXPECT_EQ(ReadDeviceInfo(rig.link, info), CommandResult::NoReply);
        // The cached profile is gone: asking again finds no keyboard.
        EXPECT_EQ(rig.image.GetActiveProfile(rig.link), -1);

        rig.keyboard.Plug();
        ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
        rig.monitor->Stop();
        EXPECT_EQ(rig.window.Records(),
                  (Records{"send GS 0", "hide", "tray 0 128", "send TR PROF", "tray 0 141"}));
        EXPECT_EQ(ReadDeviceInfo(rig.link, info), CommandResult::Success);
        EXPECT_EQ(rig.image.GetActiveProfile(rig.link), 0);
    }
}

// The stand-in behind a file that stands for its hidraw node in a watched folder, as the
// kernel's device folder does for a real keyboard: its nodes are there while the file is and may
// be opened while the file's owner may read it, and the watch is the real inotify watch of that
// folder. Removing the file takes the nodes away without hanging up what is open.
class StandInBehindNodeFile : public HidNodeSource {
public:
    explicit StandInBehindNodeFile(SimKeyboard& keyboard) : keyboard_(keyboard) {}

    fs::path NodeFile() const { return folder_ / "hidraw0"; }
    // Made whole, with its access, at once, as the kernel makes a node.
    void MakeNode(fs::perms access) {
        const fs::path made = folder_.Write("made", "");
        fs::permissions(made, access);
        fs::rename(made, NodeFile());
    }

    bool EnumerateNodes(std::vector<HidNodeInfo>& nodes) override {
        nodes.clear();
        return !fs::exists(NodeFile()) || keyboard_.EnumerateNodes(nodes);
    }
    HidError OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                      HidNodeInfo& info) override {
        std::error_code error;
        const fs::file_status status = fs::status(NodeFile(), error);
        if (!fs::exists(status)) {
            return HidError::NotFound;
        }
        if ((read || write) && (status.permissions() & fs::perms::owner_read) == fs::perms::none) {
            return HidError::PermissionDenied;
        }
        return keyboard_.OpenNode(node, read, write, fd, info);
    }
    std::unique_ptr<NodeWatch> WatchNodes() override {
        return HidrawNodeWatch::Open(folder_.Path());
    }

private:
    SimKeyboard& keyboard_;
    test::TempFolder folder_;
};

// The first node of the stand-in (126 keys) that a look meets: its consumer-control interface.
constexpr std::string_view kFirstStandInNode = "sim:0c45:5004/1";

// The monitor on StandInBehindNodeFile, started on a folder without the node and past its
// first look.
struct NodeFileRig {
    explicit NodeFileRig(const DeviceThreadTiming& timing) {
        monitor = std::make_unique<DeviceMonitor>(link, image, messages, window, autoShowDone,
                                                  timing);
        EXPECT_TRUE(monitor->Start());
        EXPECT_TRUE(WaitUntil([&] { return autoShowDone.load(); }));
    }
    ~NodeFileRig() { monitor.reset(); }

    SimKeyboard keyboard;
    StandInBehindNodeFile source{keyboard};
    HidDevice command{source};
    CommandLink link{command, ExchangeTiming{.writeTimeout = 200ms, .readTimeout = 50ms}};
    DeviceImage image;
    RecordingMessages messages;
    RecordingWindow window;
    std::atomic<bool> autoShowDone{false};
    std::unique_ptr<DeviceMonitor> monitor;
};

TEST(DeviceMonitor, NodeEventsAloneTellWhenTheKeyboardComesAndGoes) {
    NodeFileRig rig(kEndless);
    rig.source.MakeNode(fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
    rig.window.ClearRecords();

    fs::remove(rig.source.NodeFile());
    ASSERT_TRUE(rig.window.WaitFor("tray 0 128"));
    EXPECT_EQ(rig.window.Records(), (Records{"send GS 0", "hide", "tray 0 128"}));
    EXPECT_FALSE(rig.link.Connected());

    rig.source.MakeNode(fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
    EXPECT_TRUE(rig.link.Connected());
    EXPECT_TRUE(rig.messages.Keys().empty());
}

TEST(DeviceMonitor, ANewNodeRefusedUntilUdevGrantsAccessIsNotExplained) {
    NodeFileRig rig(kEndless);
    rig.source.MakeNode(fs::perms::none);
    ASSERT_TRUE(WaitUntil([&] { return rig.monitor->RefusedNode() == kFirstStandInNode; }));

    fs::permissions(rig.source.NodeFile(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
    EXPECT_TRUE(rig.messages.Keys().empty());
    EXPECT_EQ(rig.monitor->RefusedNode(), "");
}

TEST(DeviceMonitor, ANewNodeStillRefusedAtTheNextLookIsExplainedOnce) {
    NodeFileRig rig(DeviceThreadTiming{.startDelay = 1ms, .presencePoll = 1h, .rescan = 10ms});
    rig.source.MakeNode(fs::perms::none);
    ASSERT_TRUE(WaitUntil([&] { return !rig.messages.Keys().empty(); }));
    // Further looks at the same refused node tell nothing more.
    std::this_thread::sleep_for(60ms);
    rig.monitor->Stop();
    EXPECT_EQ(rig.messages.Keys(), (Records{"MAIN_NO_ACCESS_PROMPT"}));
    EXPECT_EQ(rig.monitor->RefusedNode(), kFirstStandInNode);
    EXPECT_FALSE(rig.link.Connected());
}

// Offers one keyboard node that this user may not open.// Offers one keyboard node that this user may not open.
class LockedNodeSource : public test_support::SocketNodeSource {
public:
    HidError OpenNode(const std::string&, bool read, bool write, UniqueFd&, HidNodeInfo&) override {
        return (read || write) ? HidError::PermissionDenied : HidError::None;
    }
};

TEST(DeviceMonitor, KeyboardThisUserMayNotOpenIsExplainedOnce) {
    LockedNodeSource locked;
    locked.AddNode(HidNodeInfo{"/dev/hidraw5", 0x0C45, 0x5004, 0, 1, {}});
    HidDevice device{locked};
    CommandLink link{device};
    DeviceImage image;
    RecordingMessages messages;
    RecordingWindow window;
    std::atomic<bool> autoShowDone{false};
    DeviceMonitor monitor(link, image, messages, window, autoShowDone, kQuick);
    ASSERT_TRUE(monitor.Start());
    ASSERT_TRUE(WaitUntil([&] { return monitor.RefusedNode() == "/dev/hidraw5"; }));
    // Rescans of the same refused node tell nothing more.
    std::this_thread::sleep_for(60ms);
    monitor.Stop();

    EXPECT_EQ(messages.Keys(), (Records{"MAIN_NO_ACCESS_PROMPT"}));
    EXPECT_FALSE(link.Connected());
    EXPECT_TRUE(autoShowDone);
}

TEST(DeviceMonitor, ConnectionHandlerIgnoresAnUnchangedState) {
    Rig rig;
    DeviceMonitor monitor(rig.link, rig.image, rig.messages, rig.window, rig.autoShowDone, kQuick);
    monitor.OnConnectionChanged(false);
    EXPECT_TRUE(rig.window.Records().empty());
    EXPECT_FALSE(rig.autoShowDone);

    monitor.OnConnectionChanged(true);
    const Records afterConnection = rig.window.Records();
    ASSERT_EQ(afterConnection.size(), 3u);
    monitor.OnConnectionChanged(true);
    EXPECT_EQ(rig.window.Records(), afterConnection);
}

TEST(EventListener, NoticesBecomeTimersOrNothing) {
    struct Case {
        const char* name;
        std::vector<uint16_t> codes;
        Records expected;
    };
    const Case cases[] = {
        {"lighting changed", {0x0401}, {"timer 1051 0"}},
        {"profile changed", {0x0402}, {"timer 1053 0"}},
        {"the keyboard's own notices and unknown codes", {0x1801, 0x1803, 0x1804, 0x0403}, {}},
    };
    Rig rig;
    rig.StartListener();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        rig.window.ClearRecords();
        for (const uint16_t code : test.codes) {
            rig.keyboard.SendEvent(code);
        }
        // Events are handled in order: once this one is seen, the ones before it were too.
        rig.keyboard.SendEvent(0x0402);
        ASSERT_TRUE(rig.window.WaitForRecords(test.expected.size() + 1));
        Records expected = test.expected;
        expected.push_back("timer 1053 0");
        EXPECT_EQ(rig.window.Records(), expected);
    }
}

TEST(EventListener, TrayNoticeThenConnectionNoticeRestoresTheConnectionIcon) {
    Rig rig;
    rig.StartMonitor();
    rig.StartListener();
    ASSERT_TRUE(rig.window.WaitFor("post SP OPEN"));
    rig.window.ClearRecords();

    rig.keyboard.SendEvent(0x1811);
    rig.keyboard.SendEvent(0x1810);
    ASSERT_TRUE(rig.window.WaitForRecords(2));
    EXPECT_EQ(rig.window.Records(), (Records{"tray 1 0", "tray 0 0"}));
    EXPECT_EQ(rig.window.TrayIconShown(), TrayIcon::Connected);
}

TEST(EventListener, FollowsTheKeyboardWhenItIsPluggedAgain) {
    // With waits that only a stop ends, the stand-in's plug is what wakes the listener.
    for (const DeviceThreadTiming& timing : {kQuick, kEndless}) {
        SCOPED_TRACE(timing.rescan.count());
        Rig rig;
        rig.StartListener(timing);
        rig.keyboard.Unplug();
        ASSERT_TRUE(WaitUntil([&] { return !rig.listener->Listening(); }));
        rig.keyboard.Plug();
        ASSERT_TRUE(WaitUntil([&] { return rig.listener->Listening(); }));
        rig.keyboard.ChangeProfileOnKeyboard(2);
        EXPECT_TRUE(rig.window.WaitFor("timer 1053 0"));
    }
}

TEST(DeviceThreads, StopEndsBothThreadsAtOnceWhileTheyWait) {
    for (const bool attached : {true, false}) {
        SCOPED_TRACE(attached ? "waiting on the keyboard" : "waiting for a keyboard");
        Rig rig;
        if (!attached) {
            rig.keyboard.Unplug();
        }
        rig.StartMonitor(kEndless);
        rig.StartListener(kEndless);
        if (attached) {
            ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
        } else {
            ASSERT_TRUE(WaitUntil([&] { return rig.autoShowDone.load(); }));
        }

        const auto start = std::chrono::steady_clock::now();
        rig.listener->Stop();
        rig.monitor->Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_TRUE(rig.listener->Finished());
        EXPECT_TRUE(rig.monitor->Finished());
    }
}

TEST(DeviceThreads, ThreadsEndWhenTheDevicesCannotBeListed) {
    class UnlistableSource : public HidNodeSource {
    public:
        bool EnumerateNodes(std::vector<HidNodeInfo>&) override { return false; }
        HidError OpenNode(const std::string&, bool, bool, UniqueFd&, HidNodeInfo&) override {
            return HidError::NotFound;
        }
    };
    UnlistableSource source;
    HidDevice command(source);
    CommandLink link(command);
    DeviceImage image;
    RecordingMessages messages;
    RecordingWindow window;
    std::atomic<bool> autoShowDone{false};
    DeviceMonitor monitor(link, image, messages, window, autoShowDone, kQuick);
    EventListener listener(source, window, kQuick);
    ASSERT_TRUE(monitor.Start());
    ASSERT_TRUE(listener.Start());
    EXPECT_TRUE(WaitUntil([&] { return monitor.Finished() && listener.Finished(); }));
    EXPECT_TRUE(window.Records().empty());
}

TEST(BusyIndicator, ShowsAndHidesForEachApplyInOrder) {
    RecordingWindow window;
    BusyIndicator busy(window, kQuick);
    ASSERT_TRUE(busy.Start());
    for (int apply = 0; apply < 2; ++apply) {
        busy.Post(BusyMessage::Show);
        busy.Post(BusyMessage::Hide);
    }
    ASSERT_TRUE(window.WaitFor("busy off", 2));
    const Records oneApply = {"busy on", "timer 1050 50", "kill 1050", "busy off"};
    Records both = oneApply;
    both.insert(both.end(), oneApply.begin(), oneApply.end());
    EXPECT_EQ(window.Records(), both);
}

TEST(BusyIndicator, StopHidesAShownIndicatorAtOnce) {
    RecordingWindow window;
    BusyIndicator busy(window, kEndless);
    ASSERT_TRUE(busy.Start());
    busy.Post(BusyMessage::Show);
    busy.Post(BusyMessage::Hide);
    ASSERT_TRUE(window.WaitFor("timer 1050 50"));
    busy.Stop();
    EXPECT_EQ(window.Records(), (Records{"busy on", "timer 1050 50", "kill 1050", "busy off"}));
}

}  // namespace
}  // namespace zarvin
