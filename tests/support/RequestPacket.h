#pragma once

// Builds command requests byte by byte, with a checksum of its own, so tests do not lean on the
// code under test to form what they send.

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "device/CommandProtocol.h"

namespace zarvin::test_support {

inline Packet MakeRequest(uint8_t command, uint8_t length, uint16_t offset,
                          const std::vector<uint8_t>& data = {}) {
    Packet packet{};
    packet[0] = 0x04;
    packet[3] = command;
    packet[4] = length;
    packet[5] = static_cast<uint8_t>(offset & 0xFF);
    packet[6] = static_cast<uint8_t>(offset >> 8);
    std::copy(data.begin(), data.end(), packet.begin() + 8);
    const auto sum = static_cast<uint16_t>(std::accumulate(packet.begin() + 3, packet.end(), 0u));
    packet[1] = static_cast<uint8_t>(sum & 0xFF);
    packet[2] = static_cast<uint8_t>(sum >> 8);
    return packet;
}

}  // namespace zarvin::test_support
