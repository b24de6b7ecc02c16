#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/UdevCheck.h"
#include "device/CommandProtocol.h"
#include "device/DeviceImage.h"
#include "device/DeviceInfo.h"
#include "device/DeviceMonitor.h"
#include "device/EventListener.h"
#include "device/HidDevice.h"
#include "device/HidrawNodeSource.h"
#include "platform/AccessGuidance.h"
#include "platform/UniqueFd.h"
#include "sim/SimFirmware.h"
#include "sim/SimModel.h"
#include "sim/SimReportDescriptors.h"
#include "sim/UhidKeyboard.h"
#include "support/BootKeyboardDescriptor.h"
#include "support/RecordingMessages.h"
#include "support/RecordingWindow.h"
#include "support/RequestPacket.h"

namespace zarvin::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string FileText(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The sysfs device paths (udev's %p) of the hidraw nodes of the HID devices named `name`.
std::vector<std::string> VirtualKeyboardNodes(const std::string& name = sim::UhidKeyboard::kDeviceName) {
    std::vector<std::string> devpaths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", error)) {
        if (FileText(entry.path() / "device/uevent").find("HID_NAME=" + name + "\n") ==
            std::string::npos) {
            continue;
        }
        const std::string resolved = fs::canonical(entry.path(), error).string();
        if (!error && resolved.starts_with("/sys/")) {
            devpaths.push_back(resolved.substr(4));
        }
    }
    return devpaths;
}

// The uhid protocol without the kernel: each interface's /dev/uhid descriptor is one end of a
// socketpair, and the test plays the kernel on the other.
class UhidProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        UniqueFd command[2];
        UniqueFd consumer[2];
        for (UniqueFd* pair : {command, consumer}) {
            int fds[2];
            ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
            pair[0].Reset(fds[0]);
            pair[1].Reset(fds[1]);
        }
        kernelCommand_ = std::move(command[1]);
        kernelConsumer_ = std::move(consumer[1]);
        std::string error;
        ASSERT_TRUE(keyboard_.Plug(std::move(command[0]), std::move(consumer[0]), error)) << error;
    }

    void StartServing() {
        server_ = std::thread([this] { served_ = keyboard_.Serve(stop_.Get(), serveError_); });
    }

    void TearDown() override {
        if (server_.joinable()) {
            const uint64_t one = 1;
            ASSERT_EQ(::write(stop_.Get(), &one, sizeof one), static_cast<ssize_t>(sizeof one));
            server_.join();
            EXPECT_TRUE(served_) << serveError_;
        }
    }

    static uhid_event Receive(int fd) {
        uhid_event event{};
        EXPECT_EQ(::read(fd, &event, sizeof event), static_cast<ssize_t>(sizeof event));
        return event;
    }

    static void Send(int fd, const uhid_event& event) {
        ASSERT_EQ(::write(fd, &event, sizeof event), static_cast<ssize_t>(sizeof event));
    }

    sim::SimFirmware firmware_{sim::SimModel::Keyboard128};
    sim::UhidKeyboard keyboard_{firmware_};
    UniqueFd kernelCommand_;
    UniqueFd kernelConsumer_;
    UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
    std::thread server_;
    bool served_ = false;
    std::string serveError_;
};

TEST_F(UhidProtocolTest, CreatesBothInterfacesAsTheKeyboardsUsbInterfaces) {
    const std::pair<int, const std::vector<uint8_t>*> interfaces[] = {
        {kernelCommand_.Get(), &sim::CommandReportDescriptor()},
        {kernelConsumer_.Get(), &sim::EventReportDescriptor()},
    };
    for (const auto& [fd, descriptor] : interfaces) {
        const uhid_event event = Receive(fd);
        ASSERT_EQ(event.type, UHID_CREATE2);
        EXPECT_EQ(event.u.create2.bus, BUS_USB);
        EXPECT_EQ(event.u.create2.vendor, 0x320Fu);
        EXPECT_EQ(event.u.create2.product, 0x5000u);
        const auto name = reinterpret_cast<const char*>(event.u.create2.name);
        EXPECT_STREQ(name, sim::UhidKeyboard::kDeviceName);
        ASSERT_EQ(event.u.create2.rd_size, descriptor->size());
        EXPECT_TRUE(std::equal(descriptor->begin(), descriptor->end(), event.u.create2.rd_data));
    }
}

TEST_F(UhidProtocolTest, AnswersCommandRequestsAndRefusesReportRequests) {
    Receive(kernelCommand_.Get());
    StartServing();

    uhid_event request{};
    request.type = UHID_OUTPUT;
    request.u.output.rtype = UHID_OUTPUT_REPORT;
    const Packet packet = test_support::MakeRequest(0x03, 0x2C, 0);
    std::copy(packet.begin(), packet.end(), request.u.output.data);
    request.u.output.size = static_cast<uint16_t>(packet.size());
    Send(kernelCommand_.Get(), request);
    const uhid_event reply = Receive(kernelCommand_.Get());
    ASSERT_EQ(reply.type, UHID_INPUT2);
    ASSERT_EQ(reply.u.input2.size, kPacketSize);
    EXPECT_EQ(reply.u.input2.data[0], 0x04);
    EXPECT_EQ(reply.u.input2.data[3], 0x03);
    EXPECT_EQ(reply.u.input2.data[7], sim::kStatusOk);
    const unsigned firmware = reply.u.input2.data[8 + 8] | reply.u.input2.data[8 + 9] << 8;
    EXPECT_EQ(firmware, sim::InfoOf(sim::SimModel::Keyboard128).factoryFirmwareVersion);

    uhid_event getReport{};
    getReport.type = UHID_GET_REPORT;
    getReport.u.get_report.id = 77;
    getReport.u.get_report.rnum = 4;
    getReport.u.get_report.rtype = UHID_FEATURE_REPORT;
    Send(kernelCommand_.Get(), getReport);
    const uhid_event refusal = Receive(kernelCommand_.Get());
    ASSERT_EQ(refusal.type, UHID_GET_REPORT_REPLY);
    EXPECT_EQ(refusal.u.get_report_reply.id, 77u);
    EXPECT_NE(refusal.u.get_report_reply.err, 0);
}

TEST_F(UhidProtocolTest, AHeldReplyLeavesJustBeforeTheReplyItWaitsFor) {
    Receive(kernelCommand_.Get());
    keyboard_.HoldReply(1, 2);
    StartServing();

    for (const uint16_t offset : {uint16_t{0}, uint16_t{56}}) {
        uhid_event request{};
        request.type = UHID_OUTPUT;
        request.u.output.rtype = UHID_OUTPUT_REPORT;
        const Packet packet = test_support::MakeRequest(0x07, 56, offset);
        std::copy(packet.begin(), packet.end(), request.u.output.data);
        request.u.output.size = static_cast<uint16_t>(packet.size());
        Send(kernelCommand_.Get(), request);
    }
    for (const uint8_t offset : {uint8_t{0}, uint8_t{56}}) {
        const uhid_event reply = Receive(kernelCommand_.Get());
        ASSERT_EQ(reply.type, UHID_INPUT2);
        EXPECT_EQ(reply.u.input2.data[5], offset);
    }
}

TEST_F(UhidProtocolTest, AKernelThatGoesAwayEndsServingWithAnError) {
    StartServing();
    kernelConsumer_.Reset();
    server_.join();
    EXPECT_FALSE(served_);
    EXPECT_NE(serveError_, "");
}

// Plugs the stand-in in through /dev/uhid and serves it on a thread until the test ends.
class UhidKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access("/dev/uhid", W_OK) != 0) {
            GTEST_SKIP() << "/dev/uhid is missing or not writable here (it needs the uhid module "
                            "and root): the virtual keyboard cannot be tried";
        }
        std::string error;
        ASSERT_TRUE(keyboard_.Create(error)) << error;
        ASSERT_TRUE(stop_.Valid());
        server_ = std::thread([this] { served_ = keyboard_.Serve(stop_.Get(), serveError_); });
        // The kernel adds the devices from a worker: wait for both hidraw nodes.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while ((devpaths_ = VirtualKeyboardNodes()).size() < 2 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    void TearDown() override {
        if (server_.joinable()) {
            const uint64_t one = 1;
            ASSERT_EQ(::write(stop_.Get(), &one, sizeof one), static_cast<ssize_t>(sizeof one));
            server_.join();
            EXPECT_TRUE(served_) << serveError_;
        }
    }

    sim::SimFirmware firmware_{sim::SimModel::Keyboard128};
    sim::UhidKeyboard keyboard_{firmware_};
    UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
    std::thread server_;
    bool served_ = false;
    std::string serveError_;
    std::vector<std::string> devpaths_;
};

TEST_F(UhidKeyboardTest, TheUdevHelperFindsTheCommandAndConsumerInterfaces) {
    ASSERT_EQ(devpaths_.size(), 2u);
    std::multiset<std::string> roles;
    for (const std::string& devpath : devpaths_) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunUdevCheck("/sys", devpath, out, err), kExitOk) << err.str();
        roles.insert(out.str());
    }
    EXPECT_EQ(roles, (std::multiset<std::string>{"ZARVIN_INTERFACE=command\n",
                                                 "ZARVIN_INTERFACE=consumer\n"}));
}

TEST_F(UhidKeyboardTest, TheFirmwareAnswersThroughTheRealHidrawTransport) {
    ASSERT_EQ(devpaths_.size(), 2u);
    HidrawNodeSource hidraw;
    KeyboardConnection connection(hidraw, ExchangeTiming{});
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    DeviceInfo info;
    ASSERT_EQ(ReadDeviceInfo(connection.Link(), info.bytes), CommandResult::Success);
    EXPECT_EQ(info.FirmwareVersion(), sim::InfoOf(sim::SimModel::Keyboard128).factoryFirmwareVersion);
}

// The read of profile 1's key map: its chunk 1 is answered only after the host sent it again,
// and that late reply comes while chunk 2 is awaited.
TEST_F(UhidKeyboardTest, ALateReplyNeverLandsInAnotherChunk) {
    ASSERT_EQ(devpaths_.size(), 2u);
    HidrawNodeSource hidraw;
    KeyboardConnection connection(hidraw, ExchangeTiming{.readTimeout = 100ms});
    std::string error;
    ASSERT_TRUE(connection.Connect(error)) << error;
    keyboard_.HoldReply(2, 4);

    const size_t length = sim::InfoOf(sim::SimModel::Keyboard128).keyMapLength;
    std::vector<uint8_t> keyMap(length);
    ASSERT_EQ(ReadKeyMap(connection.Link(), keyMap, 1), CommandResult::Success);
    EXPECT_EQ(connection.Link().Echo(), ReplyEcho::Echoed);
    const std::vector<uint8_t> factory = sim::FactoryMemory(sim::SimModel::Keyboard128).keyMaps;
    EXPECT_EQ(keyMap, std::vector<uint8_t>(factory.begin() + static_cast<std::ptrdiff_t>(length),
                                           factory.begin() + static_cast<std::ptrdiff_t>(2 * length)));
}

// What a backup reads: the three key maps and the start of the macro area.
int ReadEverything(CommandLink& link, std::vector<uint8_t>& bytes) {
    bytes.clear();
    for (int profile = 0; profile < kProfileCount; ++profile) {
        std::vector<uint8_t> keyMap(link.Geometry().blockLength);
        if (const int result = ReadKeyMap(link, keyMap, profile); result != CommandResult::Success) {
            return result;
        }
        bytes.insert(bytes.end(), keyMap.begin(), keyMap.end());
    }
    std::vector<uint8_t> macros(2048);
    const int result = ReadMacroArea(link, macros, macros.size());
    bytes.insert(bytes.end(), macros.begin(), macros.end());
    return result;
}

// Each program receives the other's replies through the real hidraw node.
TEST_F(UhidKeyboardTest, TwoProgramsReadingAtOnceEachGetWhatOneReadsAlone) {
    ASSERT_EQ(devpaths_.size(), 2u);
    HidrawNodeSource hidraw;
    KeyboardConnection first(hidraw);
    KeyboardConnection second(hidraw);
    std::string error;
    ASSERT_TRUE(first.Connect(error)) << error;
    ASSERT_TRUE(second.Connect(error)) << error;
    std::vector<uint8_t> alone;
    ASSERT_EQ(ReadEverything(first.Link(), alone), CommandResult::Success);

    std::vector<uint8_t> firstBytes;
    std::vector<uint8_t> secondBytes;
    int secondResult = CommandResult::NoReply;
    std::thread other([&] { secondResult = ReadEverything(second.Link(), secondBytes); });
    const int firstResult = ReadEverything(first.Link(), firstBytes);
    other.join();
    EXPECT_EQ(firstResult, CommandResult::Success);
    EXPECT_EQ(secondResult, CommandResult::Success);
    EXPECT_EQ(firstBytes, alone);
    EXPECT_EQ(secondBytes, alone);
}

// Every open of the hidraw node shares its lock, as between two processes.
TEST_F(UhidKeyboardTest, AProgramThatHoldsTheKeyboardKeepsAnotherOneOut) {
    ASSERT_EQ(devpaths_.size(), 2u);
    HidrawNodeSource hidraw;
    KeyboardConnection holder(hidraw);
    KeyboardConnection other(hidraw, ExchangeTiming{.nodeLockTimeout = 50ms});
    std::string error;
    ASSERT_TRUE(holder.Connect(error)) << error;
    ASSERT_TRUE(other.Connect(error)) << error;
    DeviceInfo info;
    {
        const std::lock_guard batch(holder.Link().Lock());
        ASSERT_EQ(BeginTransfer(holder.Link()), CommandResult::Success);
        EXPECT_EQ(ReadDeviceInfo(other.Link(), info.bytes), CommandResult::Busy);
        ASSERT_EQ(EndTransfer(holder.Link()), CommandResult::Success);
    }
    EXPECT_EQ(ReadDeviceInfo(other.Link(), info.bytes), CommandResult::Success);
}

// A keyboard's key-report interface, plugged in with the supported ids: the helper calls it
// none, and where udev runs with the rule installed its node gets no access tag.
TEST(UhidKeyReportInterface, GetsNoAccessThoughItHasTheKeyboardsIds) {
    if (::access("/dev/uhid", W_OK) != 0) {
        GTEST_SKIP() << "/dev/uhid is missing or not writable here (it needs the uhid module "
                        "and root): the virtual keyboard cannot be tried";
    }
    const std::string name = "Zarvin key-report interface";
    UniqueFd uhid(::open("/dev/uhid", O_RDWR | O_CLOEXEC));
    ASSERT_TRUE(uhid.Valid());
    uhid_event create{};
    create.type = UHID_CREATE2;
    std::copy(name.begin(), name.end(), create.u.create2.name);
    create.u.create2.bus = BUS_USB;
    create.u.create2.vendor = 0x320F;
    create.u.create2.product = 0x5000;
    create.u.create2.rd_size = static_cast<uint16_t>(test_support::kBootKeyboard.size());
    std::copy(test_support::kBootKeyboard.begin(), test_support::kBootKeyboard.end(),
              create.u.create2.rd_data);
    ASSERT_EQ(::write(uhid.Get(), &create, sizeof create), static_cast<ssize_t>(sizeof create));

    std::vector<std::string> devpaths;
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while ((devpaths = VirtualKeyboardNodes(name)).empty() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(devpaths.size(), 1u);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunUdevCheck("/sys", devpaths.front(), out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "ZARVIN_INTERFACE=none\n");

    if (::access("/run/udev/control", F_OK) != 0 || !fs::exists(InstalledUdevRuleFile())) {
        return;  // no udev with the rule: the helper's answer is all there is to see
    }
    // udev keeps what its rules decided for a node in its database, named by the node's numbers.
    std::string numbers = FileText("/sys" + devpaths.front() + "/dev");
    numbers.erase(numbers.find_last_not_of('\n') + 1);
    const fs::path record = "/run/udev/data/c" + numbers;
    std::string decided;
    const auto udevDeadline = std::chrono::steady_clock::now() + 10s;
    while ((decided = FileText(record)).find("E:ZARVIN_INTERFACE=") == std::string::npos &&
           std::chrono::steady_clock::now() < udevDeadline) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_NE(decided.find("E:ZARVIN_INTERFACE=none\n"), std::string::npos) << decided;
    EXPECT_EQ(decided.find("uaccess"), std::string::npos) << decided;
}

// The stand-in plugged in through /dev/uhid and served until it goes, which unplugs it.
class ServedUhidKeyboard {
public:
    explicit ServedUhidKeyboard(sim::SimFirmware& firmware) : keyboard_(firmware) {}
    ~ServedUhidKeyboard() {
        if (server_.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof one);
            server_.join();
        }
    }
    ServedUhidKeyboard(const ServedUhidKeyboard&) = delete;
    ServedUhidKeyboard& operator=(const ServedUhidKeyboard&) = delete;

    bool Plug(std::string& error) {
        if (!stop_.Valid() || !keyboard_.Create(error)) {
            return false;
        }
        server_ = std::thread([this] { keyboard_.Serve(stop_.Get(), serveError_); });
        return true;
    }

private:
    sim::UhidKeyboard keyboard_;
    UniqueFd stop_{::eventfd(0, EFD_CLOEXEC)};
    std::thread server_;
    std::string serveError_;
};

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// On a real kernel the device threads learn of the keyboard's coming and going from the
// device folder's events and the open node's hang-up alone: their waits only a stop ends.
TEST(UhidHotplug, TheDeviceThreadsFollowUnplugAndReplugWithoutLookingAgainOnTheirOwn) {
    if (::access("/dev/uhid", W_OK) != 0) {
        GTEST_SKIP() << "/dev/uhid is missing or not writable here (it needs the uhid module "
                        "and root): the virtual keyboard cannot be tried";
    }
    const DeviceThreadTiming endless{.startDelay = 1ms,
                                     .presencePoll = 1h,
                                     .rescan = 1h,
                                     .trayNoticeHold = 1ms,
                                     .busyHideDelay = 1h};
    HidrawNodeSource hidraw;
    HidDevice command(hidraw);
    CommandLink link(command);
    DeviceImage image;
    test_support::RecordingMessages messages;
    test_support::RecordingWindow window;
    std::atomic<bool> autoShowDone{true};
    DeviceMonitor monitor(link, image, messages, window, autoShowDone, endless);
    EventListener listener(hidraw, window, endless);
    ASSERT_TRUE(monitor.Start());
    ASSERT_TRUE(listener.Start());
    sim::SimFirmware firmware(sim::SimModel::Keyboard128);
    for (const char* round : {"plugged in", "plugged in again"}) {
        SCOPED_TRACE(round);
        window.ClearRecords();
        {
            ServedUhidKeyboard keyboard(firmware);
            std::string error;
            ASSERT_TRUE(keyboard.Plug(error)) << error;
            ASSERT_TRUE(window.WaitFor("tray 0 141", 1, 10s));
            EXPECT_TRUE(link.Connected());
            EXPECT_TRUE(WaitUntil([&] { return listener.Listening(); }));
        }
        ASSERT_TRUE(window.WaitFor("tray 0 128", 1, 10s));
        EXPECT_FALSE(link.Connected());
        EXPECT_TRUE(WaitUntil([&] { return !listener.Listening(); }));
    }
    listener.Stop();
    monitor.Stop();
    EXPECT_TRUE(messages.Keys().empty());
}

TEST(CommandLine, UnderstandsTheUhidKeyboardAndTheUdevHelper) {
    const ParsedCommandLine uhid = ParseCommandLine({"sim", "--uhid", "128"});
    EXPECT_EQ(uhid.error, "");
    EXPECT_TRUE(uhid.options.uhid);
    EXPECT_EQ(uhid.options.model, sim::SimModel::Keyboard128);
    EXPECT_EQ(ParseCommandLine({"--uhid", "sim"}).options.model, sim::SimModel::Keyboard126);
    EXPECT_EQ(ParseCommandLine({"udev-check", "/devices/x/hidraw/hidraw0"}).error, "");
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"sim"},
                                                  {"sim", "--uhid", "129"},
                                                  {"info", "--uhid"},
                                                  {"udev-check"}}) {
        EXPECT_NE(ParseCommandLine(wrong).error, "") << wrong.front();
    }
}

}  // namespace
}  // namespace zarvin::cli
