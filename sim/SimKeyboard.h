#pragma once

// The stand-in keyboard: the firmware model of either supported keyboard behind the same
// file-descriptor transport as a hidraw node (a socketpair, one report per message), so the
// real HidDevice and protocol code run against it unchanged. Tests use its faults and log.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/HidNodeSource.h"
#include "sim/SimFirmware.h"
#include "sim/SimModel.h"

namespace zarvin::sim {

class SimKeyboard : public HidNodeSource {
public:
    explicit SimKeyboard(SimModel model = SimModel::Keyboard126);
    ~SimKeyboard() override;
    SimKeyboard(const SimKeyboard&) = delete;
    SimKeyboard& operator=(const SimKeyboard&) = delete;

    // HidNodeSource: two nodes, the command interface and the consumer-control interface.
    bool EnumerateNodes(std::vector<HidNodeInfo>& nodes) override;
    HidError OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                      HidNodeInfo& info) override;

    SimModel Model() const;

    // Runs `action` on the firmware with the service thread kept out.
    void WithFirmware(const std::function<void(SimFirmware&)>& action);

    // Attachment. Unplugging hangs up every open descriptor and hides the nodes.
    void Plug();
    void Unplug();
    bool Plugged() const;

    // Faults, counted over the command packets received from now on (1 = the next one).
    void StaySilentFor(int requests);                 // no reply to the next N requests
    void RefusePacket(int packetNumber, uint8_t status);  // reply status 0xFF or 0xFE once
    void FailWrites(bool fail);                       // the host's writes fail at once
    void UnplugAtPacket(int packetNumber);            // unplug on receiving that packet
    void SetReportDelay(std::chrono::microseconds delay);  // before each reply, a USB frame
    void ClearFaults();

    // The keyboard's own notices on the consumer-control interface.
    void SendEvent(uint16_t code);
    void ChangeProfileOnKeyboard(int profile);  // then sends 0x0402
    void ChangeLightingOnKeyboard(uint8_t effect);  // then sends 0x0401

    // Every command packet received, in order.
    std::vector<Packet> ReceivedPackets() const;
    void ClearLog();

    // The memory of the keyboard, kept between runs of the programs with --simulate.
    bool SaveImage(const std::filesystem::path& file, std::string& error) const;
    bool LoadImage(const std::filesystem::path& file, std::string& error);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace zarvin::sim
