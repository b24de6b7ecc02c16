#include <gtest/gtest.h>

#include <future>
#include <numeric>

#include "device/HidDevice.h"
#include "sim/SimFaultList.h"
#include "sim/SimKeyboard.h"
#include "support/RequestPacket.h"
#include "support/TempFolder.h"

namespace zarvin::sim {
namespace {

using namespace std::chrono_literals;

// Waits that end early when things work; only tests of silence wait them out.
constexpr int kReplyWaitMs = 1000;
constexpr int kSilenceWaitMs = 30;

Packet Request(uint8_t command, uint8_t length, uint16_t offset,
               const std::vector<uint8_t>& data = {}) {
    return test_support::MakeRequest(command, length, offset, data);
}

const Packet kReadDeviceInfo = Request(0x03, 0x2C, 0);

std::string PathWith(HidDevice& device, std::string_view part) {
    EXPECT_TRUE(device.RefreshPaths());
    for (const std::string& path : device.Paths()) {
        if (path.find(part) != std::string::npos) {
            return path;
        }
    }
    ADD_FAILURE() << "no interface path with " << part;
    return {};
}

class SimKeyboardLink : public testing::Test {
protected:
    std::string CommandPath() { return PathWith(command_, "&mi_02"); }
    std::string EventPath() { return PathWith(events_, "&mi_01"); }

    void OpenCommand(HidDevice& device) {
        ASSERT_TRUE(device.Open(PathWith(device, "&mi_02"), true, true))
            << HidErrorText(device.LastError());
    }

    bool Send(HidDevice& device, const Packet& request) {
        return device.Write(request.data(), request.size(), nullptr, kReplyWaitMs);
    }

    std::optional<Packet> Receive(HidDevice& device, int timeoutMs = kReplyWaitMs) {
        Packet reply{};
        size_t got = 0;
        if (!device.Read(reply.data(), reply.size(), &got, timeoutMs)) {
            return std::nullopt;
        }
        EXPECT_EQ(got, reply.size());
        return reply;
    }

    SimKeyboard sim_;
    HidDevice command_{sim_};
    HidDevice events_{sim_};
};

TEST(SimKeyboard, ListsItsTwoInterfacesWithWindowsStylePaths) {
    const std::pair<SimModel, const char*> models[] = {{SimModel::Keyboard126, "0c45:5004"},
                                                       {SimModel::Keyboard128, "320f:5000"}};
    for (const auto& [model, ids] : models) {
        SimKeyboard sim(model);
        HidDevice device(sim);
        ASSERT_TRUE(device.RefreshPaths());
        const std::string vid = std::string(ids).substr(0, 4);
        const std::string pid = std::string(ids).substr(5);
        const std::vector<std::string> expected = {
            "sim:" + std::string(ids) + "/1#vid_" + vid + "&pid_" + pid + "&mi_01",
            "sim:" + std::string(ids) + "/2#vid_" + vid + "&pid_" + pid + "&mi_02",
        };
        EXPECT_EQ(device.Paths(), expected);
        for (const std::string& path : device.Paths()) {
            EXPECT_TRUE(MatchKeyboardPath(path)) << path;
        }
    }
}

TEST_F(SimKeyboardLink, InterfacesDescribeThemselvesLikeTheKeyboard) {
    OpenCommand(command_);
    EXPECT_TRUE(command_.IsSupportedKeyboard());
    EXPECT_EQ(command_.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(command_.Caps().usage, 0x92);
    EXPECT_EQ(command_.Caps().inputReportByteLength, 64);
    EXPECT_EQ(command_.Caps().outputReportByteLength, 64);
    EXPECT_EQ(command_.Attributes().vendorId, 0x0C45);
    EXPECT_EQ(command_.Attributes().productId, 0x5004);

    ASSERT_TRUE(events_.Open(EventPath(), true, false));
    EXPECT_TRUE(events_.IsSupportedKeyboard());
    EXPECT_EQ(events_.Caps().usagePage, 0x000C);
    EXPECT_EQ(events_.Caps().usage, 0x0001);
    EXPECT_EQ(events_.Caps().inputReportByteLength, 3) << "report id and the 16-bit code";
    ASSERT_FALSE(events_.InputItems().empty());
    const HidReportItem& first = events_.InputItems().front();
    EXPECT_TRUE(first.isButton);
    EXPECT_EQ(first.usageOrMinimum, 0u);
    EXPECT_EQ(first.maximumOrValue, 0x1FFFu);
}

TEST_F(SimKeyboardLink, RawExchangeGetsTheReplyAndIsLogged) {
    OpenCommand(command_);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    const std::optional<Packet> reply = Receive(command_);
    ASSERT_TRUE(reply.has_value()) << HidErrorText(command_.LastError());
    EXPECT_EQ((*reply)[0], 0x04);
    EXPECT_EQ((*reply)[3], 0x03);
    EXPECT_EQ((*reply)[7], 0x00);
    EXPECT_EQ((*reply)[8 + 8] | (*reply)[8 + 9] << 8, 0x0110);
    EXPECT_EQ(sim_.ReceivedPackets(), std::vector<Packet>{kReadDeviceInfo});
    sim_.ClearLog();
    EXPECT_TRUE(sim_.ReceivedPackets().empty());
}

TEST_F(SimKeyboardLink, EveryOpenDescriptorOfTheNodeGetsTheReply) {
    HidDevice second(sim_);
    OpenCommand(command_);
    OpenCommand(second);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_).has_value());
    EXPECT_TRUE(Receive(second).has_value()) << "as hidraw gives each reader every report";
}

TEST_F(SimKeyboardLink, KeyboardNoticesArriveOnTheEventInterface) {
    ASSERT_TRUE(events_.Open(EventPath(), true, false));
    sim_.ChangeProfileOnKeyboard(2);

    auto nextEvent = [this]() -> int {
        std::span<uint8_t> buffer = events_.InputReportBuffer();
        if (!events_.Read(buffer.data(), buffer.size(), nullptr, kReplyWaitMs) ||
            !events_.ParseInputReport(buffer.data(), buffer.size())) {
            return -1;
        }
        return events_.InputItems().front().usageList.front();
    };
    EXPECT_EQ(nextEvent(), 0x0402);
    EXPECT_EQ(nextEvent(), 0) << "then the release";
    sim_.WithFirmware([](SimFirmware& firmware) { EXPECT_EQ(firmware.ActiveProfile(), 2); });

    sim_.ChangeLightingOnKeyboard(9);
    EXPECT_EQ(nextEvent(), 0x0401);
    EXPECT_EQ(nextEvent(), 0);
    sim_.SendEvent(0x1811);
    EXPECT_EQ(nextEvent(), 0x1811);
}

TEST_F(SimKeyboardLink, UnplugEndsAPendingReadWithGoneAndHidesTheNodes) {
    OpenCommand(command_);
    const std::string path = command_.DevicePath();
    auto pending = std::async(std::launch::async, [this] {
        Packet buffer{};
        const bool got = command_.Read(buffer.data(), buffer.size(), nullptr, -1);
        return std::make_pair(got, command_.LastError());
    });
    std::this_thread::sleep_for(20ms);
    sim_.Unplug();
    ASSERT_EQ(pending.wait_for(2s), std::future_status::ready);
    const auto [got, error] = pending.get();
    EXPECT_FALSE(got);
    EXPECT_EQ(error, HidError::Gone);

    EXPECT_FALSE(sim_.Plugged());
    EXPECT_TRUE(command_.RefreshPaths());
    EXPECT_TRUE(command_.Paths().empty());
    EXPECT_FALSE(command_.IsPresent(path));
    EXPECT_FALSE(events_.Open(path, true, true));
    EXPECT_EQ(events_.LastError(), HidError::NotFound);

    sim_.Plug();
    EXPECT_TRUE(command_.IsPresent(path));
    OpenCommand(command_);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_).has_value());
}

TEST_F(SimKeyboardLink, SilenceLeavesTheNextRequestsUnanswered) {
    OpenCommand(command_);
    sim_.StaySilentFor(2);
    for (int request = 1; request <= 2; ++request) {
        ASSERT_TRUE(Send(command_, kReadDeviceInfo));
        EXPECT_FALSE(Receive(command_, kSilenceWaitMs).has_value()) << "request " << request;
        EXPECT_EQ(command_.LastError(), HidError::TimedOut);
    }
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_).has_value());
    EXPECT_EQ(sim_.ReceivedPackets().size(), 3u) << "unanswered requests are logged too";
}

TEST_F(SimKeyboardLink, RefusedPacketGetsTheStatusAndIsNotApplied) {
    OpenCommand(command_);
    sim_.RefusePacket(2, 0xFE);
    const uint8_t effects[] = {7, 9, 11};
    for (uint8_t effect : effects) {
        ASSERT_TRUE(Send(command_, Request(0x06, 1, 0, {effect})));
        const std::optional<Packet> reply = Receive(command_);
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ((*reply)[7], effect == 9 ? 0xFE : 0x00) << "effect " << int{effect};
        EXPECT_EQ((*reply)[3], 0x06);
    }
    sim_.WithFirmware([](SimFirmware& firmware) { EXPECT_EQ(firmware.Memory().lighting[0], 11); });

    sim_.RefusePacket(1, 0xFF);
    ASSERT_TRUE(Send(command_, Request(0x06, 1, 0, {3})));
    EXPECT_EQ(Receive(command_).value_or(Packet{})[7], 0xFF);
    sim_.WithFirmware([](SimFirmware& firmware) { EXPECT_EQ(firmware.Memory().lighting[0], 11); });
}

TEST_F(SimKeyboardLink, UnplugAtPacketHangsUpOnThatPacket) {
    OpenCommand(command_);
    sim_.UnplugAtPacket(2);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_).has_value());
    ASSERT_TRUE(Send(command_, Request(0x06, 1, 0, {9})));
    EXPECT_FALSE(Receive(command_).has_value());
    EXPECT_EQ(command_.LastError(), HidError::Gone);
    EXPECT_FALSE(sim_.Plugged());
    sim_.WithFirmware([](SimFirmware& firmware) { EXPECT_EQ(firmware.Memory().lighting[0], 1); });
}

TEST_F(SimKeyboardLink, FailedWritesLastUntilTheNodeIsOpenedAgain) {
    OpenCommand(command_);
    sim_.FailWrites(true);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(Send(command_, kReadDeviceInfo));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms) << "fails at once";

    HidDevice reopened(sim_);
    OpenCommand(reopened);
    EXPECT_FALSE(Send(reopened, kReadDeviceInfo)) << "an open made while writes fail";

    sim_.FailWrites(false);
    EXPECT_FALSE(Send(command_, kReadDeviceInfo)) << "until the descriptor is closed";
    OpenCommand(command_);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_).has_value());
    EXPECT_EQ(sim_.ReceivedPackets().size(), 1u);
}

TEST_F(SimKeyboardLink, ReportDelayHoldsTheReplyBack) {
    OpenCommand(command_);
    sim_.SetReportDelay(60ms);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_FALSE(Receive(command_, 5).has_value());
    EXPECT_TRUE(Receive(command_).has_value());
    sim_.ClearFaults();
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_, 50).has_value());
}

// What each of six packets meets under a fault list: R a reply, N no reply, E or F a refusal
// with 0xFE or 0xFF, W a write that fails, G the keyboard gone, D a reply held back.
TEST_F(SimKeyboardLink, ScheduledFaultsStrikeAtTheirPackets) {
    const std::pair<const char*, const char*> cases[] = {
        {"silent@2", "RNNNNR"},      {"lose@2", "RNRRRR"},
        {"refuse-fe@3", "RRERRR"},   {"refuse-ff@1", "FRRRRR"},
        {"fail-write@3", "RRWWWW"},  {"fail-write@1", "WWWWWW"},
        {"unplug@4", "RRRG"},        {"delay=300@5", "RRRRDD"},
        {"lose@1,refuse-ff@3", "NRFRRR"},
    };
    for (const auto& [list, expected] : cases) {
        SimKeyboard sim;
        HidDevice device(sim);
        std::string error;
        const auto faults = ParseSimFaults(list, error);
        ASSERT_TRUE(faults.has_value()) << error;
        sim.ScheduleFaults(*faults);
        OpenCommand(device);
        std::string seen;
        for (size_t packet = 0; packet < std::string_view(expected).size(); ++packet) {
            if (!Send(device, kReadDeviceInfo)) {
                seen += 'W';
                continue;
            }
            std::optional<Packet> reply = Receive(device, kSilenceWaitMs);
            if (!reply && device.LastError() == HidError::Gone) {
                seen += 'G';
            } else if (!reply && expected[packet] == 'D') {
                seen += Receive(device).has_value() ? 'D' : 'N';
            } else if (!reply) {
                seen += 'N';
            } else {
                seen += (*reply)[7] == 0xFE ? 'E' : (*reply)[7] == 0xFF ? 'F' : 'R';
            }
        }
        EXPECT_EQ(seen, expected) << list;
    }
}

TEST_F(SimKeyboardLink, BootModeLastsUntilPluggedInAgain) {
    OpenCommand(command_);
    Packet enter{};
    enter[0] = 0x04;
    enter[3] = 0xEE;
    enter[4] = 0xEE;
    ASSERT_TRUE(Send(command_, enter));
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_FALSE(Receive(command_, kSilenceWaitMs).has_value());
    sim_.Unplug();
    sim_.Plug();
    OpenCommand(command_);
    ASSERT_TRUE(Send(command_, kReadDeviceInfo));
    EXPECT_TRUE(Receive(command_).has_value());
}

TEST_F(SimKeyboardLink, DestroyingTheKeyboardHangsUpOpenDescriptors) {
    auto sim = std::make_unique<SimKeyboard>(SimModel::Keyboard128);
    HidDevice device(*sim);
    ASSERT_TRUE(device.Open(PathWith(device, "&mi_02"), true, true));
    sim.reset();
    Packet buffer{};
    EXPECT_FALSE(device.Read(buffer.data(), buffer.size(), nullptr, kReplyWaitMs));
    EXPECT_EQ(device.LastError(), HidError::Gone);
}

size_t OpenDescriptorCount() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

TEST(SimKeyboard, LeavesNoDescriptorBehind) {
    const size_t before = OpenDescriptorCount();
    {
        SimKeyboard sim;
        HidDevice command(sim);
        HidDevice events(sim);
        ASSERT_TRUE(command.Open(PathWith(command, "&mi_02"), true, true));
        ASSERT_TRUE(events.Open(PathWith(events, "&mi_01"), true, false));
        ASSERT_TRUE(
            command.Write(kReadDeviceInfo.data(), kReadDeviceInfo.size(), nullptr, kReplyWaitMs));
        command.Close();  // the service thread notices the hang-up and closes its end
        sim.Unplug();
        sim.Plug();
        ASSERT_TRUE(command.Open(PathWith(command, "&mi_02"), true, true));
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

// The command protocol against the stand-in, as the configurator runs it.
struct ProtocolBench {
    ProtocolBench(SimModel model, std::chrono::milliseconds readTimeout)
        : sim(model),
          device(sim),
          link(device, ExchangeTiming{.writeTimeout = 200ms,
                                      .readTimeout = readTimeout,
                                      .attempts = 4,
                                      .settle = 0ms}) {
        const uint16_t length = InfoOf(model).keyMapLength;
        link.SetGeometry({length, length});
        link.SetConnected(true);
        EXPECT_TRUE(device.Open(PathWith(device, "&mi_02"), true, true));
    }

    SimKeyboard sim;
    HidDevice device;
    CommandLink link;
};

class SimKeyboardProtocol : public testing::TestWithParam<SimModel> {
protected:
    ProtocolBench bench_{GetParam(), 300ms};
    SimKeyboard& sim_ = bench_.sim;
    CommandLink& link_ = bench_.link;
};

TEST_P(SimKeyboardProtocol, KeyMapWrittenForProfileTwoReadsBack) {
    const size_t length = InfoOf(GetParam()).keyMapLength;
    std::vector<uint8_t> keyMap(length);
    for (size_t i = 0; i < length; ++i) {
        keyMap[i] = static_cast<uint8_t>(i * 13 + 5);
    }
    EXPECT_EQ(BeginTransfer(link_), CommandResult::Success);
    EXPECT_EQ(WriteKeyMap(link_, keyMap, 2), CommandResult::Success);
    EXPECT_EQ(EndTransfer(link_), CommandResult::Success);

    std::vector<uint8_t> read(length);
    EXPECT_EQ(ReadKeyMap(link_, read, 2), CommandResult::Success);
    EXPECT_EQ(read, keyMap);
    std::vector<uint8_t> profile0(length);
    EXPECT_EQ(ReadKeyMap(link_, profile0, 0), CommandResult::Success);
    std::vector<uint8_t> matrix(512);
    EXPECT_EQ(ReadDefaultKeyMap(link_, matrix), CommandResult::Success);
    EXPECT_TRUE(std::equal(profile0.begin(), profile0.end(), matrix.begin()));
}

TEST_P(SimKeyboardProtocol, ProfileRefusedByTheKeyboardIsReported) {
    std::array<uint8_t, kDeviceInfoSize> info{};
    ASSERT_EQ(ReadDeviceInfo(link_, info), CommandResult::Success);
    info[10] = 3;
    EXPECT_EQ(WriteDeviceInfo(link_, info), CommandResult::RefusedFE);
    sim_.RefusePacket(1, 0xFF);
    info[10] = 1;
    EXPECT_EQ(WriteDeviceInfo(link_, info), CommandResult::RefusedFF);
    EXPECT_EQ(WriteDeviceInfo(link_, info), CommandResult::Success);
    sim_.WithFirmware([](SimFirmware& firmware) { EXPECT_EQ(firmware.ActiveProfile(), 1); });
}

TEST(SimKeyboardSilence, KeyboardAnsweringOnlyTheFourthSendStillGivesSuccess) {
    // Each silent attempt costs the whole read time-out, so it is short here.
    ProtocolBench bench(SimModel::Keyboard126, 60ms);
    bench.sim.StaySilentFor(3);
    std::array<uint8_t, kDeviceInfoSize> info{};
    EXPECT_EQ(ReadDeviceInfo(bench.link, info), CommandResult::Success);
    EXPECT_EQ(info[11], 100);
    EXPECT_EQ(bench.sim.ReceivedPackets().size(), 4u);

    bench.sim.StaySilentFor(4);
    EXPECT_EQ(ReadDeviceInfo(bench.link, info), CommandResult::NoReply);
}

INSTANTIATE_TEST_SUITE_P(Models, SimKeyboardProtocol,
                         testing::Values(SimModel::Keyboard126, SimModel::Keyboard128),
                         [](const testing::TestParamInfo<SimModel>& model) {
                             return std::string("Keys") + std::string(InfoOf(model.param).name);
                         });

TEST(SimKeyboard, ImageKeepsTheMemoryAndADamagedOneChangesNothing) {
    test::TempFolder folder;
    const std::filesystem::path image = folder.Path() / "keyboard.img";
    std::string error;
    SimKeyboard saved(SimModel::Keyboard128);
    saved.ChangeProfileOnKeyboard(1);
    saved.ChangeLightingOnKeyboard(14);
    ASSERT_TRUE(saved.SaveImage(image, error)) << error;

    SimKeyboard loaded(SimModel::Keyboard128);
    ASSERT_TRUE(loaded.LoadImage(image, error)) << error;
    SimMemory savedMemory;
    SimMemory loadedMemory;
    saved.WithFirmware([&](SimFirmware& firmware) { savedMemory = firmware.Memory(); });
    loaded.WithFirmware([&](SimFirmware& firmware) { loadedMemory = firmware.Memory(); });
    EXPECT_EQ(loadedMemory, savedMemory);
    EXPECT_EQ(loadedMemory.lighting[42], 14);

    std::filesystem::resize_file(image, 100);
    SimKeyboard untouched(SimModel::Keyboard128);
    untouched.ChangeProfileOnKeyboard(2);
    EXPECT_FALSE(untouched.LoadImage(image, error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    untouched.WithFirmware([](SimFirmware& firmware) { EXPECT_EQ(firmware.ActiveProfile(), 2); });

    SimKeyboard otherModel(SimModel::Keyboard126);
    ASSERT_TRUE(saved.SaveImage(image, error)) << error;
    EXPECT_FALSE(otherModel.LoadImage(image, error));
    EXPECT_NE(error.find("320f:5000"), std::string::npos) << error;
}

}  // namespace
}  // namespace zarvin::sim
