#include "sim/SimRequestArrival.h"

#include <cstring>

namespace zarvin::sim {
namespace {

std::chrono::nanoseconds SinceEpoch(const timespec& time) {
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

}  // namespace

bool AskForArrivalStamps(int socket) {
    const int on = 1;
    return ::setsockopt(socket, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) == 0;
}

SteadyTime RequestArrival(const msghdr& message, timespec realNow, SteadyTime readAt) {
    if ((message.msg_flags & MSG_CTRUNC) != 0) {
        return readAt;  // the stamp may be the part that was cut
    }
    // CMSG_FIRSTHDR and CMSG_NXTHDR take a non-const header but only read it.
    auto& readable = const_cast<msghdr&>(message);
    for (cmsghdr* data = CMSG_FIRSTHDR(&readable); data != nullptr;
         data = CMSG_NXTHDR(&readable, data)) {
        if (data->cmsg_level != SOL_SOCKET || data->cmsg_type != SCM_TIMESTAMPNS ||
            data->cmsg_len < CMSG_LEN(sizeof(timespec))) {
            continue;
        }
        timespec stamp{};
        std::memcpy(&stamp, CMSG_DATA(data), sizeof stamp);
        const std::chrono::nanoseconds age = SinceEpoch(realNow) - SinceEpoch(stamp);
        return age.count() > 0 ? readAt - std::chrono::duration_cast<SteadyTime::duration>(age)
                               : readAt;
    }
    return readAt;
}

ReceivedRequest ReceiveWithArrival(int socket, std::span<uint8_t> buffer, int flags) {
    iovec data{buffer.data(), buffer.size()};
    ArrivalStampRoom stamp;
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = stamp.bytes;
    message.msg_controllen = sizeof stamp.bytes;
    const ssize_t count = ::recvmsg(socket, &message, flags);
    if (count < 0) {
        return {count, std::chrono::steady_clock::now()};
    }
    timespec realNow{};
    ::clock_gettime(CLOCK_REALTIME, &realNow);
    return {count, RequestArrival(message, realNow, std::chrono::steady_clock::now())};
}

}  // namespace zarvin::sim
