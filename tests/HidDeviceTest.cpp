#include "device/HidDevice.h"

#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "sim/SimReportDescriptors.h"
#include "support/BootKeyboardDescriptor.h"
#include "support/SocketNodeSource.h"

namespace zarvin {
namespace {

using namespace std::chrono_literals;
using test_support::kBootKeyboard;
using test_support::SocketNodeSource;


// One node with two top-level collections: keys (report 1) and the keyboard's command interface
// (report 4).
const std::vector<uint8_t> kKeysAndCommands = [] {
    std::vector<uint8_t> descriptor = {
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x06,  // Usage (Keyboard)
        0xA1, 0x01,  // Collection (Application)
        0x85, 0x01,  //   Report ID (1)
        0x05, 0x07,  //   Usage Page (Keyboard)
        0x19, 0xE0,  //   Usage Minimum (Left Control)
        0x29, 0xE7,  //   Usage Maximum (Right GUI)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x08,  //   Report Count (8)
        0x81, 0x02,  //   Input (Data, Variable, Absolute)
        0xC0,        // End Collection
    };
    const std::vector<uint8_t>& commands = sim::CommandReportDescriptor();
    descriptor.insert(descriptor.end(), commands.begin(), commands.end());
    return descriptor;
}();

// Five values, usages 3 to 7 given as one range.
const std::vector<uint8_t> kValueRange = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x19, 0x03,        //   Usage Minimum (3)
    0x29, 0x07,        //   Usage Maximum (7)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x05,        //   Report Count (5)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Consumer keys in report 1 (2 bytes with its id) and a battery level in report 2 (5 bytes).
const std::vector<uint8_t> kTwoInputReports = {
    0x05, 0x0C,                    // Usage Page (Consumer)
    0x09, 0x01,                    // Usage (Consumer Control)
    0xA1, 0x01,                    // Collection (Application)
    0x85, 0x01,                    //   Report ID (1)
    0x19, 0x00,                    //   Usage Minimum (0)
    0x29, 0xFF,                    //   Usage Maximum (255)
    0x15, 0x00,                    //   Logical Minimum (0)
    0x26, 0xFF, 0x00,              //   Logical Maximum (255)
    0x75, 0x08,                    //   Report Size (8)
    0x95, 0x01,                    //   Report Count (1)
    0x81, 0x00,                    //   Input (Data, Array)
    0x85, 0x02,                    //   Report ID (2)
    0x09, 0x20,                    //   Usage (0x20)
    0x27, 0xFF, 0xFF, 0xFF, 0x7F,  //   Logical Maximum (2^31 - 1)
    0x75, 0x20,                    //   Report Size (32)
    0x81, 0x02,                    //   Input (Data, Variable, Absolute)
    0xC0,                          // End Collection
};

HidNodeInfo Node(std::string name, std::vector<uint8_t> descriptor, int interfaceNumber = 1,
                 uint16_t vendor = 0x0C45, uint16_t product = 0x5004) {
    return HidNodeInfo{std::move(name), vendor, product, 0x0100, interfaceNumber,
                       std::move(descriptor)};
}

void Send(int fd, std::vector<uint8_t> report) {
    ASSERT_EQ(::send(fd, report.data(), report.size(), 0), static_cast<ssize_t>(report.size()));
}

TEST(MatchKeyboardPath, ReadsVendorAndProductInAnyCase) {
    struct Case {
        const char* path;
        bool matches;
    };
    const Case cases[] = {
        {"/dev/hidraw3#vid_0c45&pid_5004&mi_01", true},
        {"/dev/hidraw3#VID_0C45&PID_5004&MI_01", true},
        {"/dev/hidraw0#vid_320f&pid_5000&mi_02&col02", true},
        {"/dev/hidraw0#vid_320f&pid_5004", false},
        {"/dev/hidraw0#vid_0c45&pid_5000", false},
        {"/dev/hidraw0#pid_5004", false},
        {"/dev/hidraw0#vid_10c45&pid_15004", true},  // only the low 16 bits count
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchKeyboardPath(c.path), c.matches) << c.path;
    }
}

TEST(HidDevicePaths, OneEntryPerTopLevelCollection) {
    SocketNodeSource source;
    source.AddNode(Node("/dev/hidraw1", kBootKeyboard, 0));
    source.AddNode(Node("/dev/hidraw2", kKeysAndCommands, 1, 0x320F, 0x5000));
    source.AddNode(Node("/dev/hidraw7", kBootKeyboard, -1));
    HidDevice device(source);
    ASSERT_TRUE(device.RefreshPaths());
    EXPECT_EQ(device.NextPath(), "/dev/hidraw1#vid_0c45&pid_5004&mi_00");
    EXPECT_EQ(device.NextPath(), "/dev/hidraw2#vid_320f&pid_5000&mi_01&col01");
    EXPECT_EQ(device.NextPath(), "/dev/hidraw2#vid_320f&pid_5000&mi_01&col02");
    EXPECT_EQ(device.NextPath(), "/dev/hidraw7#vid_0c45&pid_5004");
    EXPECT_EQ(device.NextPath(), std::nullopt);
    EXPECT_EQ(device.NextPath(), std::nullopt);
    device.FreePaths();
    EXPECT_EQ(device.NextPath(), std::nullopt);
}

TEST(HidDeviceOpen, DescribesTheCollectionThePathNames) {
    SocketNodeSource source;
    source.AddNode(Node("/dev/hidraw2", kKeysAndCommands, 1, 0x320F, 0x5000));
    HidDevice device(source);
    ASSERT_TRUE(device.Open("/dev/hidraw2#vid_320f&pid_5000&mi_01&col02", true, true));
    EXPECT_TRUE(device.IsSupportedKeyboard());
    EXPECT_EQ(device.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(device.Caps().usage, 0x92);
    EXPECT_EQ(device.Caps().inputReportByteLength, 64);
    EXPECT_EQ(device.Caps().outputReportByteLength, 64);

    ASSERT_TRUE(device.Open("/dev/hidraw2#vid_320f&pid_5000&mi_01&col01", true, false));
    EXPECT_EQ(device.Caps().usagePage, 0x0001);
    EXPECT_EQ(device.Caps().inputReportByteLength, 2);

    EXPECT_FALSE(device.Open("/dev/hidraw2#vid_320f&pid_5000&mi_01&col03", true, false));
    EXPECT_FALSE(device.Open("/dev/hidraw9#vid_320f&pid_5000", true, false));
    EXPECT_EQ(device.LastError(), HidError::NotFound);
    EXPECT_FALSE(device.IsOpen());
}

TEST(HidDeviceOpen, RefusesOverlongPaths) {
    SocketNodeSource source;
    HidDevice device(source);
    EXPECT_FALSE(device.Open(std::string(kMaxDevicePath, 'x'), true, true));
    EXPECT_EQ(device.LastError(), HidError::PathTooLong);
}

TEST(HidDeviceItems, ValueRangeGivesOneItemPerUsage) {
    SocketNodeSource source;
    source.AddNode(Node("n", kValueRange));
    HidDevice device(source);
    ASSERT_TRUE(device.Open("n#vid_0c45&pid_5004", true, false));
    ASSERT_EQ(device.InputItems().size(), 5u);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_FALSE(device.InputItems()[i].isButton);
        EXPECT_EQ(device.InputItems()[i].usageOrMinimum, 3 + i);
    }
    const uint8_t report[] = {0x00, 10, 20, 30, 40, 50};
    ASSERT_TRUE(device.ParseInputReport(report, sizeof report));
    EXPECT_EQ(device.InputItems()[4].maximumOrValue, 50u);
    EXPECT_TRUE(device.InputItems()[4].updated);
}

TEST(HidDeviceItems, ButtonItemKeepsItsOwnUsagesAndEndsTheListWithZero) {
    SocketNodeSource source;
    source.AddNode(Node("kbd", kBootKeyboard));
    HidDevice device(source);
    ASSERT_TRUE(device.Open("kbd#vid_0c45&pid_5004", true, false));
    ASSERT_EQ(device.InputItems().size(), 2u);
    const HidReportItem& modifiers = device.InputItems()[0];
    EXPECT_TRUE(modifiers.isButton);
    EXPECT_EQ(modifiers.usageOrMinimum, 0xE0u);
    EXPECT_EQ(modifiers.maximumOrValue, 0xE7u);

    // Left Shift and Right Alt held, with A and B in the key array.
    const uint8_t report[] = {0x00, 0x42, 0x00, 0x04, 0x05, 0, 0, 0, 0};
    ASSERT_TRUE(device.ParseInputReport(report, sizeof report));
    const auto& list = device.InputItems()[0].usageList;
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[0], 0xE1);
    EXPECT_EQ(list[1], 0xE6);
    EXPECT_EQ(list[2], 0);
    const auto& keys = device.InputItems()[1].usageList;
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(keys[0], 0x04);
    EXPECT_EQ(keys[1], 0x05);
    EXPECT_EQ(keys[2], 0);
}

class HidDeviceIo : public ::testing::Test {
protected:
    void SetUp() override {
        source_.AddNode(Node("kbd", kBootKeyboard));
        source_.AddNode(Node("shared", kKeysAndCommands));
    }
    SocketNodeSource source_;
    HidDevice device_{source_};
};

TEST_F(HidDeviceIo, ReadPrependsTheReportIdByteWhenTheDeviceUsesNone) {
    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    Send(source_.DeviceEnd("kbd"), {0x02, 0x00, 0x04, 0, 0, 0, 0, 0});
    uint8_t buffer[9] = {};
    size_t got = 0;
    ASSERT_TRUE(device_.Read(buffer, sizeof buffer, &got, 100));
    EXPECT_EQ(got, 9u);
    EXPECT_EQ(buffer[0], 0x00);
    EXPECT_EQ(buffer[1], 0x02);
    EXPECT_EQ(buffer[3], 0x04);
}

TEST_F(HidDeviceIo, ReadPadsAShortReportToTheInputLength) {
    source_.AddNode(Node("consumer", kTwoInputReports));
    ASSERT_TRUE(device_.Open("consumer#vid_0c45&pid_5004", true, false));
    ASSERT_EQ(device_.Caps().inputReportByteLength, 5);
    Send(source_.DeviceEnd("consumer"), {0x01, 0xE9});
    uint8_t buffer[5] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    size_t got = 0;
    ASSERT_TRUE(device_.Read(buffer, sizeof buffer, &got, 100));
    EXPECT_EQ(got, 5u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 5), (std::vector<uint8_t>{0x01, 0xE9, 0, 0, 0}));
    ASSERT_TRUE(device_.ParseInputReport(buffer, got));
    EXPECT_EQ(device_.InputItems()[0].usageList[0], 0xE9);
}

TEST_F(HidDeviceIo, ReadSkipsReportsOfTheOtherCollectionOnTheNode) {
    ASSERT_TRUE(device_.Open("shared#vid_0c45&pid_5004&mi_01&col02", true, true));
    const int far = source_.DeviceEnd("shared");
    Send(far, {0x01, 0x02});
    std::vector<uint8_t> reply(64, 0xAB);
    reply[0] = 0x04;
    Send(far, reply);
    uint8_t buffer[64] = {};
    size_t got = 0;
    ASSERT_TRUE(device_.Read(buffer, sizeof buffer, &got, 100));
    EXPECT_EQ(got, 64u);
    EXPECT_EQ(buffer[0], 0x04);
    EXPECT_EQ(buffer[63], 0xAB);
}

TEST_F(HidDeviceIo, WriteSendsTheReportAsGiven) {
    ASSERT_TRUE(device_.Open("shared#vid_0c45&pid_5004&mi_01&col02", true, true));
    std::vector<uint8_t> request(64, 0);
    request[0] = 0x04;
    request[3] = 0x01;
    std::vector<std::pair<bool, size_t>> seen;
    device_.SetReportObserver([&](bool out, std::span<const uint8_t> r) {
        seen.emplace_back(out, r.size());
    });
    size_t sent = 0;
    ASSERT_TRUE(device_.Write(request.data(), request.size(), &sent, 100));
    EXPECT_EQ(sent, 64u);
    uint8_t received[65] = {};
    ASSERT_EQ(::recv(source_.DeviceEnd("shared"), received, sizeof received, 0), 64);
    EXPECT_EQ(received[3], 0x01);
    EXPECT_EQ(seen, (std::vector<std::pair<bool, size_t>>{{true, 64}}));
}

TEST_F(HidDeviceIo, ReadTimesOut) {
    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    uint8_t buffer[9];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(device_.Read(buffer, sizeof buffer, nullptr, 30));
    EXPECT_EQ(device_.LastError(), HidError::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

TEST_F(HidDeviceIo, CloseFromAnotherThreadEndsAReadWithoutTimeOut) {
    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    bool result = true;
    std::thread reader([&] {
        uint8_t buffer[9];
        result = device_.Read(buffer, sizeof buffer, nullptr, -1);
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(device_.Close());
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(device_.IsOpen());

    // The stop is used up: a device opened again reads normally.
    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    Send(source_.DeviceEnd("kbd"), {0, 0, 0x04, 0, 0, 0, 0, 0});
    uint8_t buffer[9];
    EXPECT_TRUE(device_.Read(buffer, sizeof buffer, nullptr, 100));
}

TEST_F(HidDeviceIo, HangUpEndsAWaitingReadAsGone) {
    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    std::thread unplug([&] {
        std::this_thread::sleep_for(20ms);
        source_.HangUp("kbd");
    });
    uint8_t buffer[9];
    EXPECT_FALSE(device_.Read(buffer, sizeof buffer, nullptr, -1));
    unplug.join();
    EXPECT_EQ(device_.LastError(), HidError::Gone);
}

TEST_F(HidDeviceIo, WriteToAHungUpDeviceFails) {
    ASSERT_TRUE(device_.Open("shared#vid_0c45&pid_5004&mi_01&col02", true, true));
    source_.HangUp("shared");
    const uint8_t request[64] = {0x04};
    EXPECT_FALSE(device_.Write(request, sizeof request, nullptr, 100));
    EXPECT_EQ(device_.LastError(), HidError::Gone);
}

TEST_F(HidDeviceIo, HangUpWaitEndsForAHangUpAnotherDescriptorCloseOrItsTimeOutOnly) {
    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    const UniqueFd other(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    const int others[] = {other.Get()};

    // A report coming in does not end the wait and stays for the reader.
    Send(source_.DeviceEnd("kbd"), {0x02, 0x00, 0x04, 0, 0, 0, 0, 0});
    EXPECT_EQ(device_.WaitForHangUp(others, 20), HidError::TimedOut);
    uint8_t buffer[9] = {};
    EXPECT_TRUE(device_.Read(buffer, sizeof buffer, nullptr, 0));
    EXPECT_EQ(buffer[1], 0x02);

    const uint64_t one = 1;
    ASSERT_EQ(::write(other.Get(), &one, sizeof one), static_cast<ssize_t>(sizeof one));
    EXPECT_EQ(device_.WaitForHangUp(others, -1), HidError::None);
    uint64_t taken = 0;
    ASSERT_EQ(::read(other.Get(), &taken, sizeof taken), static_cast<ssize_t>(sizeof taken));

    std::thread closer([&] {
        std::this_thread::sleep_for(20ms);
        device_.Close();
    });
    EXPECT_EQ(device_.WaitForHangUp(others, -1), HidError::Stopped);
    closer.join();
    EXPECT_EQ(device_.WaitForHangUp(others, -1), HidError::Stopped);  // nothing open

    ASSERT_TRUE(device_.Open("kbd#vid_0c45&pid_5004", true, false));
    source_.HangUp("kbd");
    EXPECT_EQ(device_.WaitForHangUp(others, -1), HidError::Gone);
}

TEST_F(HidDeviceIo, PresenceFollowsTheNode) {
    EXPECT_TRUE(device_.IsPresent("kbd#vid_0c45&pid_5004"));
    EXPECT_FALSE(device_.IsPresent("gone#vid_0c45&pid_5004"));
}

}  // namespace
}  // namespace zarvin
