#include <gtest/gtest.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/UdevCheck.h"
#include "device/CommandProtocol.h"
#include "model/DeviceInfo.h"
#include "platform/HidrawNodeSource.h"
#include "platform/UniqueFd.h"
#include "sim/SimFirmware.h"
#include "sim/SimModel.h"
#include "sim/SimReportDescriptors.h"
#include "sim/UhidKeyboard.h"
#include "support/RequestPacket.h"

namespace zarvin::cli {
namespace {

namespace fs = std::filesystem;

// The sysfs device paths (udev's %p) of the hidraw nodes the virtual keyboard made.
std::vector<std::string> VirtualKeyboardNodes() {
    std::vector<std::string> devpaths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", error)) {
        std::ifstream uevent(entry.path() / "device/uevent");
        std::stringstream text;
        text << uevent.rdbuf();
        if (text.str().find(std::string("HID_NAME=") + sim::UhidKeyboard::kDeviceName) ==
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
    EXPECT_EQ(firmware, sim::kFactoryFirmwareVersion);

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
    EXPECT_EQ(info.FirmwareVersion(), sim::kFactoryFirmwareVersion);
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
