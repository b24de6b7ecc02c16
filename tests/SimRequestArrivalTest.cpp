#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "sim/SimRequestArrival.h"

namespace zarvin::sim {
namespace {

using namespace std::chrono_literals;

// A received message whose control data holds one entry of the given kind.
struct ReceivedWithControl {
    ReceivedWithControl(int level, int type, timespec value) {
        message.msg_control = room.bytes;
        message.msg_controllen = sizeof room.bytes;
        cmsghdr* data = CMSG_FIRSTHDR(&message);
        data->cmsg_level = level;
        data->cmsg_type = type;
        data->cmsg_len = CMSG_LEN(sizeof value);
        std::memcpy(CMSG_DATA(data), &value, sizeof value);
    }
    ArrivalStampRoom room;
    msghdr message{};
};

TEST(SimRequestArrival, AMessageWithoutAWholeStampArrivedWhenItWasRead) {
    const SteadyTime readAt = std::chrono::steady_clock::now();
    const timespec realNow{1'000'000, 500'000'000};
    const timespec stampAgo300us{1'000'000, 499'700'000};
    const timespec stampAhead{1'000'001, 0};

    msghdr noControl{};
    EXPECT_EQ(RequestArrival(noControl, realNow, readAt), readAt);

    ReceivedWithControl stamped(SOL_SOCKET, SCM_TIMESTAMPNS, stampAgo300us);
    EXPECT_EQ(RequestArrival(stamped.message, realNow, readAt), readAt - 300us);

    const struct {
        const char* what;
        int level;
        int type;
        timespec stamp;
        int flags;
    } cases[] = {
        {"another kind of control data", SOL_SOCKET, SCM_TIMESTAMP, stampAgo300us, 0},
        {"another level", IPPROTO_IP, SCM_TIMESTAMPNS, stampAgo300us, 0},
        {"control data cut short", SOL_SOCKET, SCM_TIMESTAMPNS, stampAgo300us, MSG_CTRUNC},
        {"a stamp ahead of the clock", SOL_SOCKET, SCM_TIMESTAMPNS, stampAhead, 0},
    };
    for (const auto& test : cases) {
        ReceivedWithControl received(test.level, test.type, test.stamp);
        received.message.msg_flags = test.flags;
        EXPECT_EQ(RequestArrival(received.message, realNow, readAt), readAt) << test.what;
    }
}

TEST(SimRequestArrival, TheKernelStampsAMessageWhenItIsSent) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends), 0);
    ASSERT_TRUE(AskForArrivalStamps(ends[1]));
    const SteadyTime beforeSend = std::chrono::steady_clock::now();
    const char request[64] = {4};
    ASSERT_EQ(::send(ends[0], request, sizeof request, 0), static_cast<ssize_t>(sizeof request));
    std::this_thread::sleep_for(2ms);  // the message waits in the queue at least this long

    uint8_t buffer[64];
    const ReceivedRequest received = ReceiveWithArrival(ends[1], buffer, 0);
    const SteadyTime readAt = std::chrono::steady_clock::now();
    ASSERT_EQ(received.count, static_cast<ssize_t>(sizeof request));
    const SteadyTime arrival = received.arrival;
    EXPECT_GE(arrival, beforeSend);
    EXPECT_LE(arrival, readAt - 2ms);
    ::close(ends[0]);
    ::close(ends[1]);
}

}  // namespace
}  // namespace zarvin::sim
