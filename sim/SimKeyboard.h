#pragma once

// The stand-in keyboard: the firmware model of either supported keyboard behind the same
// file-descriptor transport as a hidraw node (a socketpair, one report per message), so the
// real HidDevice and protocol code run against it unchanged. Tests use its faults and log.
//
// How the stand-in plays a USB keyboard with two HID interfaces:
// - Nodes: interface 1 is the consumer-control interface, interface 2 the command interface
//   (interface 0 would be the boot keyboard, which the stand-in does not offer). Their nodes
//   are named "sim:VVVV:PPPP/N" after the model's ids and the interface number.
// - Each open is a SOCK_SEQPACKET socketpair, one report per message; the host gets one end
//   (non-blocking, as a hidraw node opened with O_NONBLOCK), the service thread the other.
//   Writes fail (EPIPE) on an open without write access and on the consumer-control node; an
//   open without read access reads end of file at once.
// - As hidraw does, every input report (a reply or an event) goes to every descriptor open on
//   its node; a reader whose queue is full misses it.
// - Unplugging closes the stand-in's ends, so every host descriptor sees hang-up and end of
//   file. Plugging in again is a power cycle: the firmware leaves boot mode.
// - FailWrites(true) shuts down the receiving side of the open command descriptors (and of
//   those opened while it holds): the host's writes then fail with EPIPE until that descriptor
//   is closed and the node opened again, even after FailWrites(false).
// - A request met by the silence or the unplug fault, or refused by RefusePacket, never
//   reaches the firmware. Every request is logged first. Replies leave in order, each after
//   the report delay (0 until set).
// - An event is input report 3 carrying the 16-bit code, followed by a release report whose
//   code is 0.
// - Node watches are told of every plug and unplug (the unplug fault's too).
// - Destruction stops the service thread and hangs up every descriptor still open.

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
#include "sim/SimFaultList.h"
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
    // Turns readable when the keyboard is plugged in or unplugged. A watch may outlive the
    // stand-in; it then stays quiet.
    std::unique_ptr<NodeWatch> WatchNodes() override;

    SimModel Model() const;

    // Runs `action` on the firmware with the service thread kept out. `action` must not call
    // back into this object.
    void WithFirmware(const std::function<void(SimFirmware&)>& action);

    // Attachment. Unplugging hangs up every open descriptor and hides the nodes.
    void Plug();
    void Unplug();
    bool Plugged() const;

    // Faults, counted over the command packets received from now on (1 = the next one).
    void StaySilentFor(int requests);                      // no reply to the next N requests
    void RefusePacket(int packetNumber, uint8_t status);   // reply status 0xFF or 0xFE once
    void FailWrites(bool fail);                            // the host's writes fail at once
    void UnplugAtPacket(int packetNumber);                 // unplug on receiving that packet
    void SetReportDelay(std::chrono::microseconds delay);  // before each reply, a USB frame
    // Faults at chosen packets, counted from the next one as 1 (see SimFaultList.h), in
    // addition to any set already.
    void ScheduleFaults(const std::vector<SimFault>& faults);
    void ClearFaults();  // all of the above, and the delay back to 0

    // The keyboard's own notices on the consumer-control interface.
    void SendEvent(uint16_t code);
    // Both ignore, sending nothing, a profile outside 0-2 or an effect the keyboard does not
    // offer (SimFirmware::SelectProfile, SelectEffect).
    void ChangeProfileOnKeyboard(int profile);      // then sends 0x0402
    void ChangeLightingOnKeyboard(uint8_t effect);  // then sends 0x0401

    // Every command packet received, in order.
    std::vector<Packet> ReceivedPackets() const;
    void ClearLog();

    // The memory of the keyboard, kept between runs of the programs with --simulate (format in
    // sim/SimImageFile.h). A file that cannot be read or is damaged, or is of the other model,
    // gives an error text and leaves the keyboard as it was.
    bool SaveImage(const std::filesystem::path& file, std::string& error) const;
    bool LoadImage(const std::filesystem::path& file, std::string& error);
    // The memory in the image file's form, as SaveImage would write it.
    std::vector<uint8_t> ImageBytes() const;
    // `changed` is called after anything that may have changed the memory: a command packet
    // taken in, WithFirmware, the keyboard's own buttons, LoadImage. It runs on the thread that
    // made the change, with the stand-in locked: it must not call back into it. Empty: none.
    void OnMemoryChange(std::function<void()> changed);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace zarvin::sim
