#pragma once

// When a request reached the stand-in's end of its socket. A USB device's report time starts
// when the host sends; the stand-in's hold of a reply starts there too, not when its thread
// got round to reading the request, so its own wake-up is not counted against the link.
//
// The kernel stamps a message at send time when the receiving socket asked for stamps
// (SO_TIMESTAMPNS), on the real-time clock. The stand-in keeps its times on the steady clock,
// which a change of the system time does not move: the stamp's age is taken off the read time.

#include <sys/socket.h>
#include <time.h>

#include <chrono>
#include <cstdint>
#include <span>

namespace zarvin::sim {

using SteadyTime = std::chrono::steady_clock::time_point;

// Asks the kernel to stamp every message sent to `socket`. False when it will not; the
// arrivals are then the read times.
bool AskForArrivalStamps(int socket);

// Room for a stamp in the control data of a received message.
struct ArrivalStampRoom {
    alignas(cmsghdr) unsigned char bytes[CMSG_SPACE(sizeof(timespec))];
};

// The arrival of a message received with its control data: the real-time clock read after the
// receive (`realNow`), then the steady clock (`readAt`). A message without a whole stamp, or
// with one ahead of `realNow` (the system time was set back meanwhile), arrived at `readAt`.
SteadyTime RequestArrival(const msghdr& message, timespec realNow, SteadyTime readAt);

struct ReceivedRequest {
    ssize_t count;  // as recvmsg() returns it
    SteadyTime arrival;
};

// One message from `socket` into `buffer`, with its arrival (`recvmsg` with `flags`).
ReceivedRequest ReceiveWithArrival(int socket, std::span<uint8_t> buffer, int flags);

}  // namespace zarvin::sim
