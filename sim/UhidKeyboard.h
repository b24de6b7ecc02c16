#pragma once

// The stand-in keyboard as the kernel sees a real one: its command and consumer-control
// interfaces created through /dev/uhid with the stand-in's report descriptors and USB ids, so
// that hidraw nodes, sysfs and udev treat them as a plugged-in keyboard. Requests written to the
// command interface's hidraw node are answered by the stand-in firmware.

#include <filesystem>
#include <map>
#include <mutex>
#include <span>
#include <string>

#include "platform/UniqueFd.h"
#include "sim/SimFirmware.h"

namespace zarvin::sim {

class UhidKeyboard {
public:
    // `firmware` must outlive this object; only Serve touches it.
    explicit UhidKeyboard(SimFirmware& firmware);
    ~UhidKeyboard();  // unplugs
    UhidKeyboard(const UhidKeyboard&) = delete;
    UhidKeyboard& operator=(const UhidKeyboard&) = delete;

    // Plugs both interfaces in. On failure `error` names the node and why (a missing uhid
    // module, or no write access: creating HID devices is for root or the uhid group).
    bool Create(std::string& error, const std::filesystem::path& uhidNode = "/dev/uhid");
    // Plugs both interfaces in on descriptors that speak the uhid protocol (Create opens
    // `uhidNode` twice for them; tests pass one end of a socketpair each).
    bool Plug(UniqueFd command, UniqueFd consumer, std::string& error);

    // Answers requests until `stopFd` becomes readable (an eventfd or a pipe). False, with
    // `error`, when /dev/uhid fails.
    bool Serve(int stopFd, std::string& error);

    // A fault for tests, counted over the requests received from now on (1 = the next): the
    // reply to request `late` leaves just before the reply to request `until`, as a slow
    // keyboard's reply that comes after the host has sent the request again.
    void HoldReply(int late, int until);

    // The device name both interfaces carry, as /sys/class/hidraw/hidrawN/device/uevent shows it
    // in HID_NAME.
    static constexpr const char* kDeviceName = "Zarvin stand-in keyboard";

private:
    bool HandleEvent(int fd, bool commandInterface, std::string& error);
    bool Reply(int fd, std::span<const uint8_t> report, std::string& error);
    // Sends `reply` to request `number`, with a reply held back for it first.
    bool ReplyInTurn(int fd, int number, const Packet& reply, std::string& error);

    SimFirmware& firmware_;
    UniqueFd command_;
    UniqueFd consumer_;
    std::mutex faultMutex_;
    int requests_ = 0;            // guarded by faultMutex_, like the two below
    std::map<int, int> holds_;    // request number -> the request whose reply it waits for
    std::map<int, Packet> held_;  // request number -> the reply to send just before its own
};

}  // namespace zarvin::sim
