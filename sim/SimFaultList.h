#pragma once

// Faults of the stand-in keyboard named on a command line, to reproduce a problem at a chosen
// command packet (counted from 1, the first packet the stand-in receives):
//   silent@K      no reply to packet K, nor to the three that follow it (the host's retries)
//   lose@K        the reply to packet K is lost, once
//   refuse-fe@K   packet K is refused with status 0xFE
//   refuse-ff@K   packet K is refused with status 0xFF
//   fail-write@K  the host's writes fail from packet K on, until it opens the keyboard again;
//                 fail-write@1: every write fails
//   unplug@K      the keyboard is unplugged on receiving packet K
//   delay=MS@K    every reply from packet K on is held back MS milliseconds
// Several are separated by commas: "lose@3,delay=20@1".

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarvin::sim {

enum class SimFaultKind { Silent, Lose, RefuseFE, RefuseFF, FailWrite, Unplug, Delay };

struct SimFault {
    SimFaultKind kind = SimFaultKind::Silent;
    int packet = 1;
    std::chrono::milliseconds delay{0};  // Delay only

    bool operator==(const SimFault&) const = default;
};

// The faults of `list`, in its order; nothing, with the reason in `error`, when a part is not
// understood.
std::optional<std::vector<SimFault>> ParseSimFaults(std::string_view list, std::string& error);

// The retries of the host's command link: a silent fault covers that many packets.
inline constexpr int kSilentPackets = 4;

}  // namespace zarvin::sim
