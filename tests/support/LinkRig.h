#pragma once

// The stand-in keyboard with its command interface open and a connected link of its model: what
// the device monitor sets up on a connection, without the monitor.

#include <cstdint>
#include <functional>
#include <vector>

#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardModel.h"
#include "sim/SimFirmware.h"
#include "sim/SimKeyboard.h"
#include "sim/SimModel.h"
#include "support/CommandInterface.h"
#include "support/QuickTiming.h"

namespace zarvin::test_support {

struct LinkRig {
    explicit LinkRig(sim::SimModel model = sim::SimModel::Keyboard126,
                     ExchangeTiming timing = kQuickTiming)
        : keyboard(model), device(keyboard), link(device, timing) {
        opened = OpenCommandInterface(device);
        link.SetGeometry(sim::InfoOf(model).Geometry());
        link.SetConnected(true);
    }

    // The packets the keyboard received, and their commands.
    std::vector<Packet> Sent() const { return keyboard.ReceivedPackets(); }
    std::vector<uint8_t> SentCommands() const {
        std::vector<uint8_t> commands;
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            commands.push_back(packet[PacketByte::Command]);
        }
        return commands;
    }

    sim::SimMemory Memory() {
        sim::SimMemory memory;
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) { memory = firmware.Memory(); });
        return memory;
    }
    void EditMemory(const std::function<void(sim::SimMemory&)>& edit) {
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) { edit(firmware.Memory()); });
    }
    int ActiveProfileOnKeyboard() {
        int profile = -1;
        keyboard.WithFirmware(
            [&](sim::SimFirmware& firmware) { profile = firmware.ActiveProfile(); });
        return profile;
    }

    sim::SimKeyboard keyboard;
    HidDevice device;
    CommandLink link;
    bool opened = false;
};

}  // namespace zarvin::test_support
