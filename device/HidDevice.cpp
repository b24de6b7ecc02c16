#include "device/HidDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>

#include "keyboard/KeyboardModel.h"

namespace zarvin {
namespace {

using Clock = std::chrono::steady_clock;

// The largest report read without a heap allocation (the keyboards' are 64 bytes).
constexpr size_t kReportOnStack = 256;

// How often a wait for another program's node lock looks again (flock has no time-out).
constexpr std::chrono::milliseconds kNodeLockRetry{5};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive search for `key`, then the hexadecimal digits after it; 0 when absent.
uint32_t HexAfterKey(std::string_view text, std::string_view key) {
    auto it = std::search(text.begin(), text.end(), key.begin(), key.end(),
                          [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
    if (it == text.end()) {
        return 0;
    }
    uint32_t value = 0;
    for (it += static_cast<std::ptrdiff_t>(key.size()); it != text.end(); ++it) {
        const char c = LowerAscii(*it);
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

// The collection a path names: "&colNN" (1-based) after the '#', else the first.
size_t CollectionOfPath(std::string_view path) {
    const size_t hash = path.find('#');
    if (hash == std::string_view::npos) {
        return 0;
    }
    const std::string_view tail = path.substr(hash);
    std::string lower(tail);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    const size_t at = lower.find("&col");
    if (at == std::string::npos) {
        return 0;
    }
    size_t number = 0;
    for (size_t i = at + 4; i < lower.size() && lower[i] >= '0' && lower[i] <= '9'; ++i) {
        number = number * 10 + static_cast<size_t>(lower[i] - '0');
    }
    return number > 0 ? number - 1 : 0;
}

// Whole milliseconds until `deadline`, rounded up; 0 once it has passed.
int MsLeftUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

HidError ErrorOfErrno(int error) {
    switch (error) {
        case ENODEV:
        case ENXIO:
        case ESHUTDOWN:
        case ECONNRESET:
            return HidError::Gone;
        case EBUSY:
            return HidError::Busy;
        case EACCES:
        case EPERM:
            return HidError::PermissionDenied;
        default:
            return HidError::Io;
    }
}

}  // namespace

std::string MakeInterfacePath(const HidNodeInfo& node, int collectionCount, int collectionIndex) {
    char ids[64];
    std::snprintf(ids, sizeof ids, "#vid_%04x&pid_%04x", node.vendorId, node.productId);
    std::string path = node.node + ids;
    if (node.interfaceNumber >= 0) {
        std::snprintf(ids, sizeof ids, "&mi_%02x", static_cast<unsigned>(node.interfaceNumber));
        path += ids;
    }
    if (collectionCount > 1) {
        std::snprintf(ids, sizeof ids, "&col%02d", collectionIndex + 1);
        path += ids;
    }
    return path;
}

bool MatchKeyboardPath(std::string_view path) {
    const auto vendor = static_cast<uint16_t>(HexAfterKey(path, "vid_") & 0xFFFF);
    const auto product = static_cast<uint16_t>(HexAfterKey(path, "pid_") & 0xFFFF);
    return IsSupportedKeyboardId(vendor, product);
}

HidDevice::HidDevice(HidNodeSource& source)
    : source_(source), stopEvent_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

HidDevice::~HidDevice() {
    Close();
}

bool HidDevice::RefreshPaths() {
    paths_.clear();
    pathCursor_ = 0;
    std::vector<HidNodeInfo> nodes;
    if (!source_.EnumerateNodes(nodes)) {
        return false;
    }
    for (const HidNodeInfo& node : nodes) {
        const HidDescriptorParse parse = ParseReportDescriptor(node.reportDescriptor);
        // A node whose descriptor cannot be read is still listed once; opening it says why.
        const int count = std::max<int>(1, static_cast<int>(parse.collections.size()));
        for (int index = 0; index < count; ++index) {
            paths_.push_back(MakeInterfacePath(node, count, index));
        }
    }
    return true;
}

std::optional<std::string> HidDevice::NextPath() {
    if (pathCursor_ >= paths_.size()) {
        return std::nullopt;
    }
    return paths_[pathCursor_++];
}

void HidDevice::FreePaths() {
    paths_.clear();
    paths_.shrink_to_fit();
    pathCursor_ = 0;
}

bool HidDevice::IsOpen() const {
    return fd_.Valid();
}

bool HidDevice::Open(const std::string& path, bool wantRead, bool wantWrite, bool overlapped,
                     bool shareReadOnly) {
    CloseHandle();
    wantRead_ = wantRead;
    wantWrite_ = wantWrite;
    overlapped_ = overlapped;
    shareReadOnly_ = shareReadOnly;
    devicePath_.clear();
    if (path.size() >= kMaxDevicePath) {
        lastError_ = HidError::PathTooLong;
        return false;
    }
    devicePath_ = path;

    const std::string node = path.substr(0, path.find('#'));
    UniqueFd fd;
    HidNodeInfo info;
    const HidError opened = source_.OpenNode(node, wantRead, wantWrite, fd, info);
    if (opened != HidError::None || !fd.Valid()) {
        lastError_ = opened != HidError::None ? opened : HidError::Io;
        return false;
    }
    HidDescriptorParse parse = ParseReportDescriptor(info.reportDescriptor);
    const size_t index = CollectionOfPath(path);
    if (!parse.ok() || index >= parse.collections.size()) {
        lastError_ = parse.ok() ? HidError::NotFound : HidError::BadDescriptor;
        return false;
    }

    // Every read and write counts on a descriptor that never blocks: a read that may not wait
    // and a write are tried at once, and only a wait polls.
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags | O_NONBLOCK) != 0) {
        lastError_ = HidError::Io;
        return false;
    }
    struct stat status {};
    const bool isSocket = ::fstat(fd.Get(), &status) == 0 && S_ISSOCK(status.st_mode);
    UniqueFd lockFd = source_.OpenNodeLock(node);
    {
        std::lock_guard lock(ioMutex_);
        fd_ = std::move(fd);
        lockFd_ = std::move(lockFd);
        nodeLocked_ = false;
        isSocket_ = isSocket;
        nodeHasSeveralCollections_ = parse.collections.size() > 1;
        collection_ = std::move(parse.collections[index]);
    }

    attributes_ = {info.vendorId, info.productId, info.versionNumber};
    caps_ = HidCaps{
        .usage = collection_.usage,
        .usagePage = collection_.usagePage,
        .inputReportByteLength = collection_.inputReportByteLength,
        .outputReportByteLength = collection_.outputReportByteLength,
        .featureReportByteLength = collection_.featureReportByteLength,
        .numberInputButtonCaps = static_cast<uint16_t>(collection_.inputButtonCaps.size()),
        .numberInputValueCaps = static_cast<uint16_t>(collection_.inputValueCaps.size()),
    };
    inputReport_.assign(collection_.inputReportByteLength, 0);

    for (const HidButtonCaps& button : collection_.inputButtonCaps) {
        HidReportItem item;
        item.isButton = true;
        item.usagePage = button.usagePage;
        item.reportId = button.reportId;
        item.usageOrMinimum = button.usageMin;
        item.maximumOrValue = button.usageMax;
        item.usageListLengthOrScaledValue = MaxUsageListLength(collection_, button.usagePage);
        item.usageList.assign(item.usageListLengthOrScaledValue, 0);
        inputItems_.push_back(std::move(item));
    }
    for (const HidValueCaps& value : collection_.inputValueCaps) {
        const uint32_t last = value.isRange ? value.usageMax : value.usageMin;
        for (uint32_t usage = value.usageMin; usage <= last; ++usage) {
            HidReportItem item;
            item.usagePage = value.usagePage;
            item.reportId = value.reportId;
            item.usageOrMinimum = usage;
            inputItems_.push_back(std::move(item));
        }
    }
    lastError_ = HidError::None;
    return true;
}

bool HidDevice::Close() {
    return CloseHandle();
}

bool HidDevice::CloseHandle() {
    std::unique_lock lock(ioMutex_);
    const bool busy = readInProgress_ || writeInProgress_ || ioUsers_ > 0;
    if (busy) {
        closing_ = true;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopEvent_.Get(), &one, sizeof one);
        ioIdle_.wait(lock, [this] { return ioUsers_ == 0; });
    }
    // The stop event is auto-reset: whatever a finished wait left in it must not stop the next.
    uint64_t drained = 0;
    [[maybe_unused]] const ssize_t got = ::read(stopEvent_.Get(), &drained, sizeof drained);
    closing_ = false;
    FreeTables();
    // Closing the descriptors gives up a node lock with them.
    nodeLocked_ = false;
    lockFd_.Reset();
    if (!fd_.Valid()) {
        return false;
    }
    return fd_.Reset();
}

void HidDevice::FreeTables() {
    inputItems_.clear();
    inputReport_.clear();
    collection_ = {};
    caps_ = {};
}

bool HidDevice::IsPresent(const std::string& path) {
    UniqueFd unused;
    HidNodeInfo info;
    return source_.OpenNode(path.substr(0, path.find('#')), false, false, unused, info) ==
           HidError::None;
}

bool HidDevice::BeginIo(std::atomic<bool>& inProgress) {
    std::lock_guard lock(ioMutex_);
    if (closing_ || !fd_.Valid()) {
        lastError_ = closing_ ? HidError::Stopped : HidError::NotFound;
        return false;
    }
    ++ioUsers_;
    inProgress = true;
    return true;
}

void HidDevice::EndIo(std::atomic<bool>& inProgress) {
    std::lock_guard lock(ioMutex_);
    inProgress = false;
    if (--ioUsers_ == 0 && closing_) {
        ioIdle_.notify_all();
    }
}

HidError HidDevice::WaitForHangUp(std::span<const int> others, int timeoutMs) {
    {
        // Registered as a user like a read, so Close waits for the wait to leave; the last
        // error stays that of the transfers.
        std::lock_guard lock(ioMutex_);
        if (closing_ || !fd_.Valid()) {
            return HidError::Stopped;
        }
        ++ioUsers_;
    }
    // No events asked of the node: poll tells a hang-up whatever is asked, and reports coming
    // in for another thread's exchange do not end the wait.
    std::vector<pollfd> fds = {{stopEvent_.Get(), POLLIN, 0}, {fd_.Get(), 0, 0}};
    for (const int other : others) {
        fds.push_back(pollfd{other, POLLIN, 0});
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    HidError result = HidError::TimedOut;
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        }
        const int ready = ::poll(fds.data(), fds.size(), wait);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            result = HidError::Io;
        } else if (fds[0].revents != 0) {
            result = HidError::Stopped;
        } else if (fds[1].revents != 0) {
            result = HidError::Gone;
        } else if (ready > 0) {
            result = HidError::None;
        }
        break;
    }
    {
        std::lock_guard lock(ioMutex_);
        if (--ioUsers_ == 0 && closing_) {
            ioIdle_.notify_all();
        }
    }
    return result;
}

HidError HidDevice::WaitReady(Direction direction, int timeoutMs, Clock::time_point deadline) {
    const short wanted = direction == Direction::In ? POLLIN : POLLOUT;
    int wait = timeoutMs;
    for (;;) {
        pollfd fds[2] = {{stopEvent_.Get(), POLLIN, 0}, {fd_.Get(), wanted, 0}};
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0) {
            if (errno == EINTR) {
                wait = timeoutMs < 0 ? -1 : MsLeftUntil(deadline);
                continue;
            }
            return HidError::Io;
        }
        if (fds[0].revents != 0) {
            return HidError::Stopped;
        }
        const bool hungUp = (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        // Reports that arrived before a hang-up are still read; nothing can be written after.
        if ((fds[1].revents & wanted) != 0 && !(hungUp && direction == Direction::Out)) {
            return HidError::None;
        }
        if (hungUp) {
            return HidError::Gone;
        }
        if (ready == 0) {
            return HidError::TimedOut;
        }
    }
}

HidError HidDevice::ErrorOfUnwaitedTry(Direction direction, int error) {
    const HidError seen = WaitReady(direction, 0, Clock::time_point{});
    return seen == HidError::Gone || seen == HidError::Stopped ? seen : ErrorOfErrno(error);
}

bool HidDevice::ReportBelongsHere(uint8_t reportId) const {
    // Several collections share one node: each sees only its own reports, as on Windows.
    if (!nodeHasSeveralCollections_ || !collection_.usesReportIds) {
        return true;
    }
    const auto& ids = collection_.inputReportIds;
    return std::find(ids.begin(), ids.end(), reportId) != ids.end();
}

bool HidDevice::Read(uint8_t* buffer, size_t length, size_t* transferred, int timeoutMs) {
    if (transferred != nullptr) {
        *transferred = 0;
    }
    if (!BeginIo(readInProgress_)) {
        return false;
    }
    // hidraw leaves out the report id byte when the device uses none; callers always get one.
    const size_t idByte = collection_.usesReportIds ? 0 : 1;
    // Reports of the keyboards fit on the stack; a larger collection's go to the heap.
    const size_t reportSize = std::max<size_t>(length, collection_.inputReportByteLength) + 1;
    std::array<uint8_t, kReportOnStack> onStack{};  // zeros: the id byte hidraw leaves out
    std::vector<uint8_t> onHeap(reportSize > onStack.size() ? reportSize : 0);
    const std::span<uint8_t> report =
        onHeap.empty() ? std::span(onStack).first(reportSize) : std::span(onHeap);
    // The clock is read only for a wait that may have to go on after its first poll.
    const Clock::time_point deadline =
        timeoutMs > 0 ? Clock::now() + std::chrono::milliseconds(timeoutMs) : Clock::time_point{};
    HidError result = HidError::None;
    size_t got = 0;
    // A read that may not wait takes what is there at once: a poll first would only cost a call.
    const bool waits = timeoutMs != 0;
    bool firstWait = true;
    for (;;) {
        if (waits) {
            const int wait = firstWait || timeoutMs < 0 ? timeoutMs : MsLeftUntil(deadline);
            firstWait = false;
            result = WaitReady(Direction::In, wait, deadline);
            if (result != HidError::None) {
                break;
            }
        }
        const ssize_t n = ::read(fd_.Get(), report.data() + idByte, report.size() - idByte);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN) {
                if (waits) {
                    continue;
                }
                result = HidError::TimedOut;
                break;
            }
            result = waits ? ErrorOfErrno(errno) : ErrorOfUnwaitedTry(Direction::In, errno);
            break;
        }
        if (n == 0) {
            result = HidError::Gone;  // the other end hung up
            break;
        }
        if (!ReportBelongsHere(report[0])) {
            continue;
        }
        got = static_cast<size_t>(n) + idByte;
        break;
    }
    if (result == HidError::None) {
        // Windows hands over every input report at the collection's full length; a shorter
        // report of a collection with several input reports is padded with zeros likewise.
        const size_t copied =
            std::min(std::max(got, size_t{collection_.inputReportByteLength}), length);
        std::fill(report.begin() + static_cast<std::ptrdiff_t>(got), report.end(), uint8_t{0});
        std::copy_n(report.begin(), copied, buffer);
        if (transferred != nullptr) {
            *transferred = copied;
        }
        if (observer_) {
            observer_(false, std::span<const uint8_t>(buffer, copied));
        }
    }
    lastError_ = result;
    EndIo(readInProgress_);
    return result == HidError::None;
}

bool HidDevice::Write(const uint8_t* buffer, size_t length, size_t* transferred, int timeoutMs) {
    if (transferred != nullptr) {
        *transferred = 0;
    }
    if (!BeginIo(writeInProgress_)) {
        return false;
    }
    // Written at once: a report almost always fits, and the wait comes only when it does not.
    HidError result = HidError::None;
    bool waited = false;
    ssize_t n = -1;
    while (result == HidError::None) {
        n = isSocket_ ? ::send(fd_.Get(), buffer, length, MSG_NOSIGNAL)
                      : ::write(fd_.Get(), buffer, length);
        if (n >= 0) {
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN) {
            result = WaitReady(Direction::Out, timeoutMs,
                               Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0)));
            waited = true;
            continue;
        }
        result = waited ? ErrorOfErrno(errno) : ErrorOfUnwaitedTry(Direction::Out, errno);
    }
    if (result == HidError::None) {
        if (transferred != nullptr) {
            *transferred = static_cast<size_t>(n);
        }
        if (observer_) {
            observer_(true, std::span<const uint8_t>(buffer, length));
        }
    }
    lastError_ = result;
    EndIo(writeInProgress_);
    return result == HidError::None;
}

HidError HidDevice::LockNode(int timeoutMs) {
    if (!BeginIo(lockInProgress_)) {
        return lastError_.load();
    }
    const int lockFd = lockFd_.Valid() ? lockFd_.Get() : fd_.Get();
    std::optional<Clock::time_point> deadline;  // from the first refusal on
    HidError result = HidError::None;
    bool locked = false;
    for (;;) {
        if (::flock(lockFd, LOCK_EX | LOCK_NB) == 0) {
            locked = true;
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            break;  // a node that takes no locks is used without one
        }
        if (!deadline) {
            deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        }
        const int left = MsLeftUntil(*deadline);
        if (left <= 0) {
            result = HidError::TimedOut;
            break;
        }
        pollfd stop{stopEvent_.Get(), POLLIN, 0};
        if (::poll(&stop, 1, std::min(left, static_cast<int>(kNodeLockRetry.count()))) > 0) {
            result = HidError::Stopped;
            break;
        }
    }
    nodeLocked_ = locked;
    EndIo(lockInProgress_);
    return result;
}

void HidDevice::UnlockNode() {
    std::lock_guard lock(ioMutex_);
    if (nodeLocked_.exchange(false)) {
        ::flock(lockFd_.Valid() ? lockFd_.Get() : fd_.Get(), LOCK_UN);
    }
}

bool HidDevice::NodeLocked() const {
    return nodeLocked_.load();
}

bool HidDevice::ParseInputReport(const uint8_t* report, size_t length) {
    if (report == nullptr || length == 0) {
        return false;
    }
    const std::span<const uint8_t> bytes(report, length);
    const uint8_t reportId = report[0];
    for (HidReportItem& item : inputItems_) {
        if (item.reportId != reportId) {
            continue;
        }
        item.updated = true;
        if (item.isButton) {
            std::vector<uint16_t> usages;
            const HidStatus status = GetUsages(collection_, item.usagePage, bytes, usages,
                                               item.usageListLengthOrScaledValue);
            item.status = static_cast<uint32_t>(status);
            size_t kept = 0;
            for (const uint16_t usage : usages) {
                if (usage >= item.usageOrMinimum && usage <= item.maximumOrValue &&
                    kept < item.usageList.size()) {
                    item.usageList[kept++] = usage;
                }
            }
            if (kept < item.usageList.size()) {
                item.usageList[kept] = 0;
            }
            continue;
        }
        const auto usage = static_cast<uint16_t>(item.usageOrMinimum);
        uint32_t value = 0;
        const HidStatus status = GetUsageValue(collection_, item.usagePage, usage, bytes, value);
        item.status = static_cast<uint32_t>(status);
        if (status != HidStatus::Success) {
            return false;
        }
        item.maximumOrValue = value;
        int32_t scaled = 0;
        if (GetScaledUsageValue(collection_, item.usagePage, usage, bytes, scaled) ==
            HidStatus::Success) {
            item.usageListLengthOrScaledValue = static_cast<uint32_t>(scaled);
        }
    }
    return true;
}

bool HidDevice::IsSupportedKeyboard() const {
    return IsSupportedKeyboardId(attributes_.vendorId, attributes_.productId);
}

void HidDevice::SetReportObserver(HidReportObserver observer) {
    observer_ = std::move(observer);
}

}  // namespace zarvin
