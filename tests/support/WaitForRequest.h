#pragma once

#include <poll.h>

#include <chrono>
#include <optional>

#include "platform/InstanceChannel.h"

namespace zarvin::test {

// The next complete request on `listener`, as the window's event loop takes it: Accept() each
// time the listener is readable, until a request is whole or `wait` has passed.
inline std::optional<InstanceListener::Pending> WaitForRequest(
    InstanceListener& listener, std::chrono::milliseconds wait = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd readable{listener.Fd(), POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) == 1) {
            if (auto pending = listener.Accept()) {
                return pending;
            }
        }
    }
}

}  // namespace zarvin::test
