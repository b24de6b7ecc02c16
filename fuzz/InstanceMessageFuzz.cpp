// Sends arbitrary bytes to a running instance's socket as another local program could, and
// checks the listener's promises: only a whole request line ("open", "kill" or "reload") is
// taken, anything else is dropped, and nothing a sender writes blocks the listener.
//
// Input: the bytes the sender writes before it stops writing.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "FuzzFiles.h"
#include "platform/InstanceChannel.h"
#include "platform/UniqueFd.h"

namespace {

using namespace zarvin;
using fuzz::Require;

InstanceListener& Listener() {
    static InstanceListener listener = [] {
        std::string error;
        std::optional<InstanceListener> claimed =
            InstanceListener::Claim(InstanceSocketPath(fuzz::ScratchFolder()), error);
        Require(claimed.has_value());
        return std::move(*claimed);
    }();
    return listener;
}

std::optional<InstanceRequest> Expected(std::string_view sent) {
    const size_t end = sent.find('\n');
    if (end == std::string_view::npos || end >= 16) {
        return std::nullopt;
    }
    const std::string_view line = sent.substr(0, end);
    if (line == "open") {
        return InstanceRequest::Open;
    }
    if (line == "kill") {
        return InstanceRequest::Kill;
    }
    if (line == "reload") {
        return InstanceRequest::Reload;
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstanceListener& listener = Listener();
    UniqueFd sender(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = InstanceSocketPath(fuzz::ScratchFolder()).string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    Require(::connect(sender.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    // The listener reads at most a short line; what it never reads stays in the socket.
    const size_t sent = std::min<size_t>(size, 4096);
    Require(::send(sender.Get(), data, sent, MSG_NOSIGNAL) == static_cast<ssize_t>(sent));
    ::shutdown(sender.Get(), SHUT_WR);

    std::optional<InstanceListener::Pending> pending;
    for (;;) {
        pollfd readable{listener.Fd(), POLLIN, 0};
        if (::poll(&readable, 1, 0) != 1) {
            break;
        }
        if (auto taken = listener.Accept()) {
            Require(!pending.has_value());
            pending = std::move(taken);
        }
    }
    const std::optional<InstanceRequest> expected =
        Expected(std::string_view(reinterpret_cast<const char*>(data), sent));
    Require(pending.has_value() == expected.has_value());
    if (pending) {
        Require(pending->request == *expected);
        InstanceListener::Answer(*pending);
    }
    return 0;
}
