#pragma once

// One running configurator per user. The running instance listens on a local socket in the
// user's runtime folder ($XDG_RUNTIME_DIR, folder mode 0700) named after "QP40M17B"; a second
// start connects and asks it to open its window or to exit, and zarvinctl asks it to reload
// after changing the keyboard. A request is answered once it has been handled, so the sender
// waits as for a sent window message (app/SingleInstance.h answers a reload when it takes it).
// A socket left behind by a crashed instance never blocks a new start; a live instance's socket
// is never removed. Plain POSIX, no Qt.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"

namespace zarvin {

enum class InstanceRequest { Open, Kill, Reload };

std::filesystem::path InstanceSocketPath(const std::filesystem::path& runtimeFolder);

enum class SendResult {
    Handled,     // a running instance took and handled the request
    NoInstance,  // nobody listens (no socket, or one left behind)
    Failed,      // an instance exists but the request could not be delivered
};

// Blocks until the instance has answered: once it has handled the request (a reload: once it
// has taken it). With `answerWithin`, an instance that has not answered by then is Failed, with
// `error` saying so; the request may still be handled later.
SendResult SendInstanceRequest(
    const std::filesystem::path& socketPath, InstanceRequest request, std::string* error = nullptr,
    std::optional<std::chrono::milliseconds> answerWithin = std::nullopt);

class InstanceListener {
public:
    // Becomes the running instance: nothing when another live instance listens already (then
    // `error` is empty) or the socket cannot be made (then `error` says why).
    static std::optional<InstanceListener> Claim(const std::filesystem::path& socketPath,
                                                 std::string& error);
    InstanceListener(InstanceListener&&) noexcept;
    InstanceListener& operator=(InstanceListener&&) noexcept;
    ~InstanceListener();  // removes the socket file it made

    // Readable when a sender connects or a connected sender writes (for poll or
    // QSocketNotifier).
    int Fd() const;
    // A connected sender and its complete request. Nothing yet when no sender has finished its
    // line; a sender that sent something invalid, or took too long, is dropped. Never blocks, so
    // one slow sender delays neither the window nor other senders. Call when Fd() is readable.
    struct Pending {
        UniqueFd connection;
        InstanceRequest request;
    };
    std::optional<Pending> Accept();
    // Tells the sender its request has been handled and closes the connection; a second call
    // does nothing.
    static void Answer(Pending& pending);

private:
    // A connected sender whose request line has not all arrived yet.
    struct Sender {
        UniqueFd connection;
        std::string received;
        std::chrono::steady_clock::time_point since;
    };

    InstanceListener(UniqueFd listenFd, UniqueFd lockFd, std::filesystem::path socketPath);
    std::optional<Pending> TakeNewSender();
    std::optional<Pending> ReadSender(int fd);
    void DropSender(size_t index);
    void DropSendersWaitingTooLong();

    UniqueFd listenFd_;
    // Watches the listening socket and every waiting sender; Fd() is this one.
    UniqueFd watchFd_;
    std::vector<Sender> senders_;
    // Taken while claiming and while removing, so that a start that finds a socket refusing
    // connections never removes one that another start has just made.
    UniqueFd lockFd_;
    std::filesystem::path socketPath_;
    // The socket file this listener made; a file at the same path that is not it stays.
    dev_t socketDevice_ = 0;
    ino_t socketInode_ = 0;
};

}  // namespace zarvin
