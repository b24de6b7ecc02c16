#include "platform/InstanceChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace zarvin {

namespace fs = std::filesystem;

// On the wire: the sender writes one request line ("open", "kill" or "reload" and a newline);
// once the request has been handled the instance writes "done" and a newline and closes.

namespace {

constexpr std::string_view kAnswer = "done\n";
// Room for the longest request line; a longer one is refused.
constexpr size_t kMaxLine = 16;
// How long a connected sender may take to write its request before it is dropped.
constexpr auto kRequestWait = std::chrono::seconds(2);
// Senders whose request is still arriving; past that many the one waiting longest is dropped.
constexpr size_t kMaxWaitingSenders = 16;
constexpr int kBacklog = 8;

std::string_view RequestWord(InstanceRequest request) {
    switch (request) {
        case InstanceRequest::Open:
            return "open";
        case InstanceRequest::Kill:
            return "kill";
        case InstanceRequest::Reload:
            return "reload";
    }
    return {};
}

std::optional<InstanceRequest> RequestOfWord(std::string_view word) {
    for (const InstanceRequest request :
         {InstanceRequest::Open, InstanceRequest::Kill, InstanceRequest::Reload}) {
        if (word == RequestWord(request)) {
            return request;
        }
    }
    return std::nullopt;
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

// The socket address of `path`; false when the path does not fit.
bool SocketAddress(const fs::path& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    const std::string& text = path.native();
    if (text.empty() || text.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, text.data(), text.size());
    return true;
}

sockaddr* AsSockaddr(sockaddr_un& address) {
    // The socket calls take every address family through the generic type.
    return reinterpret_cast<sockaddr*>(&address);
}

std::string TooLongText(const fs::path& path) {
    return "the path " + path.string() + " is too long for a local socket";
}

// Creates the missing folders of `folder` with mode 0700.
bool MakeFolders(const fs::path& folder, std::string& error) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0) {
        return true;
    }
    if (errno != ENOENT || !folder.has_relative_path()) {
        error = "cannot reach " + folder.string() + ": " + ErrnoText(errno);
        return false;
    }
    if (!MakeFolders(folder.parent_path(), error)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create " + folder.string() + ": " + ErrnoText(errno);
        return false;
    }
    return true;
}

// Whoever may rename entries of the folder that holds the socket's folder could swap it for
// theirs: that folder must be this user's or root's, or shared only as /tmp is (sticky).
bool SafeParent(const fs::path& parent, std::string& error) {
    struct stat info {};
    if (::stat(parent.c_str(), &info) != 0) {
        error = "cannot reach " + parent.string() + ": " + ErrnoText(errno);
        return false;
    }
    const bool ownedSafely = info.st_uid == ::geteuid() || info.st_uid == 0;
    const bool sharedSafely = (info.st_mode & 022) == 0 || (info.st_mode & S_ISVTX) != 0;
    if (!ownedSafely || !sharedSafely) {
        error = parent.string() + " belongs to another user or is open to others";
        return false;
    }
    return true;
}

// The folder of the socket: made when missing, and refused unless it is a folder of this user
// that nobody else may enter.
bool MakePrivateFolder(const fs::path& folder, std::string& error) {
    if (!MakeFolders(folder, error) || !SafeParent(folder.parent_path(), error)) {
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        error = "cannot reach " + folder.string() + ": " + ErrnoText(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        error = folder.string() + " is not a folder of this user";
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        error = "cannot make " + folder.string() + " private: " + ErrnoText(errno);
        return false;
    }
    return true;
}

// A sender talks to the socket in `folder` only when the folder is as MakePrivateFolder leaves
// it. Anyone else who could put a socket there would take the request and could keep
// the sender waiting for ever.
enum class SenderFolder { Missing, Private, Unsafe };

SenderFolder CheckSenderFolder(const fs::path& folder, std::string& error) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return SenderFolder::Missing;
        }
        error = "cannot reach " + folder.string() + ": " + ErrnoText(errno);
        return SenderFolder::Unsafe;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        error = folder.string() + " is not a folder that only this user may enter";
        return SenderFolder::Unsafe;
    }
    return SafeParent(folder.parent_path(), error) ? SenderFolder::Private : SenderFolder::Unsafe;
}

// Holds an exclusive lock on a lock file for the length of a scope.
class LockHeld {
public:
    explicit LockHeld(const UniqueFd& fd) : fd_(fd.Get()) {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~LockHeld() { ::flock(fd_, LOCK_UN); }
    LockHeld(const LockHeld&) = delete;
    LockHeld& operator=(const LockHeld&) = delete;

private:
    int fd_;
};

// Connects to the socket at `address`; the errno of the failure otherwise.
int ConnectSocket(sockaddr_un& address, UniqueFd& fd) {
    fd.Reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        return errno;
    }
    while (::connect(fd.Get(), AsSockaddr(address), sizeof address) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            fd.Reset();
            return error;
        }
    }
    return 0;
}

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

enum class LineRead { Read, TimedOut, Failed };

// Reads one line (without its newline) of at most kMaxLine bytes, waiting until `deadline` or,
// without one, as long as it takes. Failed on end of file, an error or a line too long.
LineRead ReadLine(int fd, std::string& line,
                  std::optional<std::chrono::steady_clock::time_point> deadline) {
    line.clear();
    for (;;) {
        int timeoutMs = -1;
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                *deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return LineRead::TimedOut;
            }
            timeoutMs = static_cast<int>(std::min<std::chrono::milliseconds::rep>(
                left.count(), std::numeric_limits<int>::max()));
        }
        pollfd readable{fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, timeoutMs);
        if ((ready < 0 && errno == EINTR) || ready == 0) {
            continue;
        }
        if (ready < 0) {
            return LineRead::Failed;
        }
        char chunk[kMaxLine];
        const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return LineRead::Failed;
        }
        line.append(chunk, static_cast<size_t>(count));
        const size_t end = line.find('\n');
        if (end != std::string::npos) {
            line.resize(end);
            return LineRead::Read;
        }
        if (line.size() >= kMaxLine) {
            return LineRead::Failed;
        }
    }
}

}  // namespace

fs::path InstanceSocketPath(const fs::path& runtimeFolder) {
    return runtimeFolder / "zarvin" / "QP40M17B";
}

SendResult SendInstanceRequest(const fs::path& socketPath, InstanceRequest request,
                               std::string* error,
                               std::optional<std::chrono::milliseconds> answerWithin) {
    const auto fail = [&](std::string text) {
        if (error != nullptr) {
            *error = std::move(text);
        }
        return SendResult::Failed;
    };
    sockaddr_un address{};
    if (!SocketAddress(socketPath, address)) {
        return fail(TooLongText(socketPath));
    }
    std::string unsafe;
    switch (CheckSenderFolder(socketPath.parent_path(), unsafe)) {
        case SenderFolder::Missing:
            return SendResult::NoInstance;
        case SenderFolder::Unsafe:
            return fail("will not talk to the socket " + socketPath.string() + ": " + unsafe);
        case SenderFolder::Private:
            break;
    }
    UniqueFd fd;
    const int connectError = ConnectSocket(address, fd);
    if (connectError == ENOENT || connectError == ECONNREFUSED || connectError == ENOTDIR) {
        return SendResult::NoInstance;
    }
    if (connectError != 0) {
        return fail("cannot reach the running zarvin at " + socketPath.string() + ": " +
                    ErrnoText(connectError));
    }
    if (!SendAll(fd.Get(), std::string(RequestWord(request)) + '\n')) {
        return fail("cannot send to the running zarvin: " + ErrnoText(errno));
    }
    std::string answer;
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (answerWithin) {
        deadline = std::chrono::steady_clock::now() + *answerWithin;
    }
    switch (ReadLine(fd.Get(), answer, deadline)) {
        case LineRead::TimedOut:
            return fail(
                "the running zarvin did not answer within " +
                std::to_string(std::chrono::ceil<std::chrono::seconds>(*answerWithin).count()) +
                " s");
        case LineRead::Failed:
            return fail("the running zarvin ended the connection without answering");
        case LineRead::Read:
            break;
    }
    if (answer + '\n' != kAnswer) {
        return fail("the running zarvin ended the connection without answering");
    }
    return SendResult::Handled;
}

InstanceListener::InstanceListener(UniqueFd listenFd, UniqueFd lockFd, fs::path socketPath)
    : listenFd_(std::move(listenFd)),
      lockFd_(std::move(lockFd)),
      socketPath_(std::move(socketPath)) {}

std::optional<InstanceListener> InstanceListener::Claim(const fs::path& socketPath,
                                                        std::string& error) {
    error.clear();
    sockaddr_un address{};
    if (!SocketAddress(socketPath, address)) {
        error = TooLongText(socketPath);
        return std::nullopt;
    }
    if (!MakePrivateFolder(socketPath.parent_path(), error)) {
        return std::nullopt;
    }
    const fs::path lockPath = socketPath.native() + ".lock";
    UniqueFd lockFd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lockFd.Valid()) {
        error = "cannot open " + lockPath.string() + ": " + ErrnoText(errno);
        return std::nullopt;
    }
    const LockHeld held(lockFd);

    UniqueFd listenFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listenFd.Valid()) {
        error = "cannot make a local socket: " + ErrnoText(errno);
        return std::nullopt;
    }
    if (::bind(listenFd.Get(), AsSockaddr(address), sizeof address) != 0) {
        if (errno != EADDRINUSE) {
            error = "cannot make the socket " + socketPath.string() + ": " + ErrnoText(errno);
            return std::nullopt;
        }
        UniqueFd probe;
        const int probeError = ConnectSocket(address, probe);
        if (probeError == 0 || probeError == EAGAIN) {
            return std::nullopt;  // a live instance, or one too busy to take the probe
        }
        if (probeError != ECONNREFUSED && probeError != ENOENT) {
            error = "cannot check the socket " + socketPath.string() + ": " + ErrnoText(probeError);
            return std::nullopt;
        }
        // Nobody listens: the socket of an instance that ended without removing it.
        if (::unlink(socketPath.c_str()) != 0 && errno != ENOENT) {
            error = "cannot remove the old socket " + socketPath.string() + ": " + ErrnoText(errno);
            return std::nullopt;
        }
        if (::bind(listenFd.Get(), AsSockaddr(address), sizeof address) != 0) {
            error = "cannot make the socket " + socketPath.string() + ": " + ErrnoText(errno);
            return std::nullopt;
        }
    }
    struct stat made {};
    if (::listen(listenFd.Get(), kBacklog) != 0 || ::stat(socketPath.c_str(), &made) != 0) {
        error = "cannot listen on " + socketPath.string() + ": " + ErrnoText(errno);
        ::unlink(socketPath.c_str());
        return std::nullopt;
    }
    UniqueFd watchFd(::epoll_create1(EPOLL_CLOEXEC));
    epoll_event listening{};
    listening.events = EPOLLIN;
    listening.data.fd = listenFd.Get();
    if (!watchFd.Valid() ||
        ::epoll_ctl(watchFd.Get(), EPOLL_CTL_ADD, listenFd.Get(), &listening) != 0) {
        error = "cannot watch the socket " + socketPath.string() + ": " + ErrnoText(errno);
        ::unlink(socketPath.c_str());
        return std::nullopt;
    }
    InstanceListener listener(std::move(listenFd), std::move(lockFd), socketPath);
    listener.watchFd_ = std::move(watchFd);
    listener.socketDevice_ = made.st_dev;
    listener.socketInode_ = made.st_ino;
    return listener;
}

InstanceListener::InstanceListener(InstanceListener&& other) noexcept
    : listenFd_(std::move(other.listenFd_)),
      watchFd_(std::move(other.watchFd_)),
      senders_(std::move(other.senders_)),
      lockFd_(std::move(other.lockFd_)),
      socketPath_(std::move(other.socketPath_)),
      socketDevice_(other.socketDevice_),
      socketInode_(other.socketInode_) {}

InstanceListener& InstanceListener::operator=(InstanceListener&& other) noexcept {
    if (this != &other) {
        const InstanceListener previous(std::move(*this));  // removes its socket when it goes
        listenFd_ = std::move(other.listenFd_);
        watchFd_ = std::move(other.watchFd_);
        senders_ = std::move(other.senders_);
        lockFd_ = std::move(other.lockFd_);
        socketPath_ = std::move(other.socketPath_);
        socketDevice_ = other.socketDevice_;
        socketInode_ = other.socketInode_;
    }
    return *this;
}

InstanceListener::~InstanceListener() {
    if (!listenFd_.Valid()) {
        return;
    }
    {
        const LockHeld held(lockFd_);
        struct stat current {};
        if (::stat(socketPath_.c_str(), &current) == 0 && current.st_dev == socketDevice_ &&
            current.st_ino == socketInode_) {
            ::unlink(socketPath_.c_str());
        }
        listenFd_.Reset();
    }
}

int InstanceListener::Fd() const {
    return watchFd_.Get();
}

std::optional<InstanceListener::Pending> InstanceListener::Accept() {
    DropSendersWaitingTooLong();
    // Each event is handled without waiting; whatever is left keeps Fd() readable, so the
    // caller comes back for it.
    epoll_event events[kMaxWaitingSenders + 1];
    int count = 0;
    do {
        count = ::epoll_wait(watchFd_.Get(), events, static_cast<int>(std::size(events)), 0);
    } while (count < 0 && errno == EINTR);
    for (int i = 0; i < count; ++i) {
        std::optional<Pending> pending = events[i].data.fd == listenFd_.Get()
                                             ? TakeNewSender()
                                             : ReadSender(events[i].data.fd);
        if (pending) {
            return pending;
        }
    }
    return std::nullopt;
}

// Takes one new connection and reads what it has sent so far: a sender that connects and writes
// at once is served in the same call.
std::optional<InstanceListener::Pending> InstanceListener::TakeNewSender() {
    UniqueFd connection;
    do {
        connection.Reset(
            ::accept4(listenFd_.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    } while (!connection.Valid() && errno == EINTR);
    if (!connection.Valid()) {
        return std::nullopt;
    }
    epoll_event readable{};
    readable.events = EPOLLIN;
    readable.data.fd = connection.Get();
    if (::epoll_ctl(watchFd_.Get(), EPOLL_CTL_ADD, connection.Get(), &readable) != 0) {
        return std::nullopt;
    }
    if (senders_.size() >= kMaxWaitingSenders) {
        DropSender(0);
    }
    const int fd = connection.Get();
    senders_.push_back(Sender{std::move(connection), {}, std::chrono::steady_clock::now()});
    return ReadSender(fd);
}

std::optional<InstanceListener::Pending> InstanceListener::ReadSender(int fd) {
    const auto found = std::ranges::find_if(
        senders_, [fd](const Sender& sender) { return sender.connection.Get() == fd; });
    if (found == senders_.end()) {
        return std::nullopt;
    }
    const auto index = static_cast<size_t>(found - senders_.begin());
    std::string& received = found->received;
    char chunk[kMaxLine];
    ssize_t count = 0;
    do {
        count = ::recv(fd, chunk, sizeof chunk, 0);
    } while (count < 0 && errno == EINTR);
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return std::nullopt;
    }
    if (count <= 0) {
        DropSender(index);  // gone, or failed, before its line was complete
        return std::nullopt;
    }
    received.append(chunk, static_cast<size_t>(count));
    const size_t end = received.find('\n');
    if (end == std::string::npos) {
        if (received.size() >= kMaxLine) {
            DropSender(index);
        }
        return std::nullopt;
    }
    const std::optional<InstanceRequest> request = RequestOfWord(received.substr(0, end));
    UniqueFd connection = std::move(found->connection);
    ::epoll_ctl(watchFd_.Get(), EPOLL_CTL_DEL, fd, nullptr);
    senders_.erase(found);
    if (!request) {
        return std::nullopt;
    }
    // The answer is written once the request is handled; the sender waits for it.
    const int flags = ::fcntl(connection.Get(), F_GETFL);
    ::fcntl(connection.Get(), F_SETFL, flags & ~O_NONBLOCK);
    return Pending{std::move(connection), *request};
}

void InstanceListener::DropSender(size_t index) {
    ::epoll_ctl(watchFd_.Get(), EPOLL_CTL_DEL, senders_[index].connection.Get(), nullptr);
    senders_.erase(senders_.begin() + static_cast<std::ptrdiff_t>(index));
}

void InstanceListener::DropSendersWaitingTooLong() {
    const auto now = std::chrono::steady_clock::now();
    for (size_t i = senders_.size(); i-- > 0;) {
        if (now - senders_[i].since > kRequestWait) {
            DropSender(i);
        }
    }
}

void InstanceListener::Answer(Pending& pending) {
    if (pending.connection.Valid()) {
        SendAll(pending.connection.Get(), kAnswer);
        pending.connection.Reset();
    }
}

}  // namespace zarvin
