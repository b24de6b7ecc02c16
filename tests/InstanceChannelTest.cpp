#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/InstanceChannel.h"
#include "support/TempFolder.h"
#include "support/WaitForRequest.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 5000;

bool WaitReadable(int fd) {
    pollfd readable{fd, POLLIN, 0};
    return ::poll(&readable, 1, kWaitMs) == 1;
}

bool WaitReadableNow(int fd) {
    pollfd readable{fd, POLLIN, 0};
    return ::poll(&readable, 1, 0) == 1;
}

// A connection to `path` that writes `bytes` as it is and keeps the connection open.
UniqueFd ConnectAndWrite(const fs::path& path, std::string_view bytes) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::write(fd.Get(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    return fd;
}

// Leaves a socket file that nobody listens on, as a crashed instance does, in its private folder.
void LeaveSocketBehind(const fs::path& path) {
    fs::create_directories(path.parent_path());
    fs::permissions(path.parent_path(), fs::perms::owner_all);
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd.Get(), 1), 0);
}

class InstanceChannel : public ::testing::Test {
protected:
    InstanceListener ClaimOrFail() {
        std::string error;
        auto listener = InstanceListener::Claim(socketPath_, error);
        EXPECT_TRUE(listener.has_value()) << error;
        return std::move(*listener);
    }

    test::TempFolder temp_;
    fs::path socketPath_ = InstanceSocketPath(temp_ / "runtime");
};

TEST_F(InstanceChannel, SocketIsNamedAfterTheInstanceMutexInThePrivateFolder) {
    EXPECT_EQ(InstanceSocketPath("/run/user/1000"), "/run/user/1000/zarvin/QP40M17B");
}

TEST_F(InstanceChannel, ClaimMakesAFolderOnlyTheUserMayEnter) {
    const InstanceListener listener = ClaimOrFail();
    struct stat info {};
    ASSERT_EQ(::stat(socketPath_.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(socketPath_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
}

TEST_F(InstanceChannel, AnExistingFolderOpenToOthersIsClosed) {
    fs::create_directories(socketPath_.parent_path());
    fs::permissions(socketPath_.parent_path(), fs::perms::all);
    const InstanceListener listener = ClaimOrFail();
    struct stat info {};
    ASSERT_EQ(::stat(socketPath_.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(InstanceChannel, ARuntimeFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a folder away";
    }
    fs::create_directories(temp_ / "runtime");
    ASSERT_EQ(::chown((temp_ / "runtime").c_str(), 65534, 65534), 0);
    std::string error;
    EXPECT_FALSE(InstanceListener::Claim(socketPath_, error).has_value());
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
}

TEST_F(InstanceChannel, ASecondClaimIsRefusedWhileTheFirstLivesAndSucceedsAfterIt) {
    std::optional<InstanceListener> first = ClaimOrFail();
    std::string error = "not cleared";
    EXPECT_FALSE(InstanceListener::Claim(socketPath_, error).has_value());
    EXPECT_EQ(error, "");
    EXPECT_TRUE(fs::exists(socketPath_)) << "a live instance's socket was removed";

    first.reset();
    EXPECT_FALSE(fs::exists(socketPath_));
    EXPECT_TRUE(InstanceListener::Claim(socketPath_, error).has_value()) << error;
}

TEST_F(InstanceChannel, ASocketLeftBehindIsReclaimed) {
    LeaveSocketBehind(socketPath_);
    ASSERT_TRUE(fs::exists(socketPath_));
    EXPECT_EQ(SendInstanceRequest(socketPath_, InstanceRequest::Open), SendResult::NoInstance);

    InstanceListener listener = ClaimOrFail();
    auto sent = std::async(std::launch::async,
                           [&] { return SendInstanceRequest(socketPath_, InstanceRequest::Open); });
    auto pending = test::WaitForRequest(listener);
    ASSERT_TRUE(pending.has_value());
    InstanceListener::Answer(*pending);
    EXPECT_EQ(sent.get(), SendResult::Handled);
}

TEST_F(InstanceChannel, AnEarlierInstanceNeverRemovesTheSocketOfALaterOne) {
    std::optional<InstanceListener> earlier = ClaimOrFail();
    fs::remove(socketPath_);  // say, a cleaner of the runtime folder
    const InstanceListener later = ClaimOrFail();
    earlier.reset();
    EXPECT_TRUE(fs::exists(socketPath_));
}

TEST_F(InstanceChannel, WithoutAnInstanceNothingIsSent) {
    EXPECT_EQ(SendInstanceRequest(socketPath_, InstanceRequest::Kill), SendResult::NoInstance);
}

class InstanceRequests : public InstanceChannel,
                         public ::testing::WithParamInterface<InstanceRequest> {};

TEST_P(InstanceRequests, AreDeliveredAndTheSenderWaitsForTheAnswer) {
    InstanceListener listener = ClaimOrFail();
    std::atomic<bool> answered{false};
    auto sent = std::async(std::launch::async, [&] {
        const SendResult result = SendInstanceRequest(socketPath_, GetParam());
        return std::pair(result, answered.load());
    });
    auto pending = test::WaitForRequest(listener);
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->request, GetParam());
    // The sender is still waiting while the request is being handled.
    EXPECT_EQ(sent.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    answered = true;
    InstanceListener::Answer(*pending);
    const auto [result, wasAnswered] = sent.get();
    EXPECT_EQ(result, SendResult::Handled);
    EXPECT_TRUE(wasAnswered);
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, InstanceRequests,
                         ::testing::Values(InstanceRequest::Open, InstanceRequest::Kill,
                                           InstanceRequest::Reload));

TEST_F(InstanceChannel, ARequestDroppedWithoutAnswerFailsTheSender) {
    InstanceListener listener = ClaimOrFail();
    auto sent = std::async(std::launch::async, [&] {
        std::string error;
        const SendResult result = SendInstanceRequest(socketPath_, InstanceRequest::Open, &error);
        return std::pair(result, error);
    });
    {
        auto pending = test::WaitForRequest(listener);
        ASSERT_TRUE(pending.has_value());
    }
    const auto [result, error] = sent.get();
    EXPECT_EQ(result, SendResult::Failed);
    EXPECT_NE(error, "");
}

// A window whose thread is busy or hung: a sender with a time limit gives up and says why.
TEST_F(InstanceChannel, AnAnswerLaterThanTheSendersLimitFailsTheSender) {
    InstanceListener listener = ClaimOrFail();
    auto sent = std::async(std::launch::async, [&] {
        std::string error;
        const SendResult result = SendInstanceRequest(socketPath_, InstanceRequest::Reload, &error,
                                                      std::chrono::milliseconds(200));
        return std::pair(result, error);
    });
    auto pending = test::WaitForRequest(listener);
    ASSERT_TRUE(pending.has_value());
    const auto [result, error] = sent.get();
    EXPECT_EQ(result, SendResult::Failed);
    EXPECT_NE(error.find("did not answer within 1 s"), std::string::npos) << error;
    InstanceListener::Answer(*pending);  // to a sender gone: no signal, no harm
}

TEST_F(InstanceChannel, SendersWithoutAValidRequestAreDroppedAndOthersStillServed) {
    InstanceListener listener = ClaimOrFail();
    for (const std::string_view bytes :
         {std::string_view("hello\n"), std::string_view(""), std::string_view("openopenopenopen\n"),
          std::string_view("Open\n")}) {
        UniqueFd sender = ConnectAndWrite(socketPath_, bytes);
        ::shutdown(sender.Get(), SHUT_WR);
        ASSERT_TRUE(WaitReadable(listener.Fd()));
        EXPECT_FALSE(listener.Accept().has_value()) << bytes;
        char answer = 0;  // end of file, or a reset when part of the request was left unread
        EXPECT_LE(::read(sender.Get(), &answer, 1), 0) << "an answer to " << bytes;
    }
    UniqueFd sender = ConnectAndWrite(socketPath_, "reload\n");
    auto pending = test::WaitForRequest(listener);
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->request, InstanceRequest::Reload);
}

// The window reads requests without waiting for any one sender: a sender that connected and
// has not finished its line neither holds up the one after it nor loses its own turn.
TEST_F(InstanceChannel, ASlowSenderDelaysNoOtherAndIsServedWhenItsLineArrives) {
    InstanceListener listener = ClaimOrFail();
    UniqueFd slow = ConnectAndWrite(socketPath_, "rel");
    ASSERT_TRUE(WaitReadable(listener.Fd()));
    EXPECT_FALSE(listener.Accept().has_value());

    UniqueFd quick = ConnectAndWrite(socketPath_, "open\n");
    auto first = test::WaitForRequest(listener);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->request, InstanceRequest::Open);

    ASSERT_EQ(::write(slow.Get(), "oad\n", 4), 4);
    auto second = test::WaitForRequest(listener);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->request, InstanceRequest::Reload);
    InstanceListener::Answer(*second);
    char answer[8] = {};
    EXPECT_EQ(::read(slow.Get(), answer, sizeof answer), 5);
    EXPECT_STREQ(answer, "done\n");
}

// Senders that connect and never write cannot starve the channel: past a bound the one that
// waited longest is dropped, and a real request is still served.
TEST_F(InstanceChannel, ManySilentSendersDoNotStopTheChannel) {
    InstanceListener listener = ClaimOrFail();
    std::vector<UniqueFd> silent;
    for (int i = 0; i < 40; ++i) {
        silent.push_back(ConnectAndWrite(socketPath_, ""));
        while (WaitReadableNow(listener.Fd())) {
            EXPECT_FALSE(listener.Accept().has_value());
        }
    }
    UniqueFd sender = ConnectAndWrite(socketPath_, "kill\n");
    auto pending = test::WaitForRequest(listener);
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(pending->request, InstanceRequest::Kill);
    char byte = 0;
    EXPECT_EQ(::read(silent.front().Get(), &byte, 1), 0) << "the oldest silent sender stays";
}

// Whoever else could put a socket there would take the request and could keep the sender
// waiting for ever: a sender talks only to a socket in a folder only this user may enter.
TEST_F(InstanceChannel, ASenderNeverTalksToASocketInAFolderOpenToOthers) {
    LeaveSocketBehind(socketPath_);
    fs::permissions(socketPath_.parent_path(), fs::perms::all);
    fs::remove(socketPath_);
    UniqueFd impostor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath_.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(impostor.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(impostor.Get(), 1), 0);
    // Answers like an instance, so that a sender that talks to it comes back.
    std::atomic<bool> talkedTo = false;
    std::thread answering([&] {
        pollfd readable{impostor.Get(), POLLIN, 0};
        if (::poll(&readable, 1, 300) == 1) {
            talkedTo = true;
            const UniqueFd connection(::accept(impostor.Get(), nullptr, nullptr));
            EXPECT_EQ(::write(connection.Get(), "done\n", 5), 5);
        }
    });
    std::string error;
    EXPECT_EQ(SendInstanceRequest(socketPath_, InstanceRequest::Reload, &error),
              SendResult::Failed);
    answering.join();
    EXPECT_FALSE(talkedTo);
    EXPECT_NE(error.find(socketPath_.parent_path().string()), std::string::npos) << error;
}

TEST_F(InstanceChannel, APathTooLongForASocketIsAClearError) {
    const fs::path tooLong = temp_ / std::string(120, 'r') / "QP40M17B";
    std::string error;
    EXPECT_FALSE(InstanceListener::Claim(tooLong, error).has_value());
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
    EXPECT_EQ(SendInstanceRequest(tooLong, InstanceRequest::Open, &error), SendResult::Failed);
}

TEST_F(InstanceChannel, AFolderInTheWayIsAClearError) {
    fs::create_directories(temp_ / "runtime");
    temp_.Write("runtime/zarvin", "a file, not a folder");
    std::string error;
    EXPECT_FALSE(InstanceListener::Claim(socketPath_, error).has_value());
    EXPECT_NE(error, "");
}

}  // namespace
}  // namespace zarvin
