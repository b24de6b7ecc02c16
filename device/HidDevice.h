#pragma once

// One opened HID interface: lists the interfaces present, opens one by path, describes its
// reports and moves single reports in and out with a time-out that Close() cuts short.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/HidNodeSource.h"
#include "device/HidReportDescriptor.h"
#include "platform/UniqueFd.h"

namespace zarvin {

inline constexpr size_t kMaxDevicePath = 260;

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberInputButtonCaps = 0;
    uint16_t numberInputValueCaps = 0;
};

// One decoded field of the input report.
struct HidReportItem {
    bool isButton = false;
    uint16_t usagePage = 0;
    uint32_t status = static_cast<uint32_t>(HidStatus::Success);
    uint8_t reportId = 0;
    bool updated = false;
    uint32_t usageOrMinimum = 0;
    uint32_t maximumOrValue = 0;
    uint32_t usageListLengthOrScaledValue = 0;
    std::vector<uint16_t> usageList;  // buttons only; ends with a 0 when not full
};

// Sees every report that goes out or comes in, for tracing.
using HidReportObserver = std::function<void(bool outgoing, std::span<const uint8_t> report)>;

// Builds an interface path in the form "/dev/hidraw3#vid_0c45&pid_5004&mi_01", with "&col02"
// appended for the second of several top-level collections on one node.
std::string MakeInterfacePath(const HidNodeInfo& node, int collectionCount, int collectionIndex);

// True when the path names one of the two supported keyboards (vendor and product read from
// its "vid_" and "pid_" parts, case-insensitive).
bool MatchKeyboardPath(std::string_view path);

class HidDevice {
public:
    explicit HidDevice(HidNodeSource& source);
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Path list.
    bool RefreshPaths();
    std::optional<std::string> NextPath();
    void FreePaths();
    const std::vector<std::string>& Paths() const { return paths_; }

    bool Open(const std::string& path, bool wantRead, bool wantWrite, bool overlapped = true,
              bool shareReadOnly = false);
    bool Close();
    bool IsOpen() const;
    // Whether the node behind `path` is still there, opening nothing (the monitor's test).
    bool IsPresent(const std::string& path);
    // Waits while the device is open until its node hangs up (Gone: the device went), one of
    // `others` turns readable (None), `timeoutMs` passes (TimedOut; negative waits for ever) or
    // Close cuts the wait short (Stopped, at once when nothing is open). Reads nothing: reports
    // that arrive meanwhile stay for the readers.
    HidError WaitForHangUp(std::span<const int> others, int timeoutMs);
    // Where the device's nodes come from.
    HidNodeSource& Source() const { return source_; }

    bool Read(uint8_t* buffer, size_t length, size_t* transferred, int timeoutMs);
    bool Write(const uint8_t* buffer, size_t length, size_t* transferred, int timeoutMs);

    // Keeps other programs that lock the node the same way off it, with flock(LOCK_EX), until
    // UnlockNode or Close. Waits up to `timeoutMs` for a program that holds it: TimedOut when it
    // does not let go, Stopped when Close cuts the wait short. A node that takes no locks is
    // used without one (None, NodeLocked false).
    HidError LockNode(int timeoutMs);
    void UnlockNode();
    bool NodeLocked() const;

    bool ParseInputReport(const uint8_t* report, size_t length);

    bool IsSupportedKeyboard() const;

    // Why the last Open, Read or Write failed (None after a success).
    HidError LastError() const { return lastError_.load(); }

    void SetReportObserver(HidReportObserver observer);

    const HidAttributes& Attributes() const { return attributes_; }
    const HidCaps& Caps() const { return caps_; }
    const std::string& DevicePath() const { return devicePath_; }
    std::span<const uint8_t> InputReportBuffer() const { return inputReport_; }
    std::span<uint8_t> InputReportBuffer() { return inputReport_; }
    const std::vector<HidReportItem>& InputItems() const { return inputItems_; }

private:
    enum class Direction { In, Out };
    // Registers a read or write so Close() waits for it; false when there is nothing to use.
    bool BeginIo(std::atomic<bool>& inProgress);
    void EndIo(std::atomic<bool>& inProgress);
    // Waits until the device is ready or the time-out, the stop event or a failure ends the wait.
    // A negative `timeoutMs` waits for ever; `deadline` is where a positive one ends, looked at
    // only when a signal cuts the wait short.
    HidError WaitReady(Direction direction, int timeoutMs,
                       std::chrono::steady_clock::time_point deadline);
    // The error of a read or write tried without waiting for readiness first: a hang-up shows
    // as Gone, as the wait would have told, whatever the call's own errno says.
    HidError ErrorOfUnwaitedTry(Direction direction, int error);
    bool CloseHandle();
    void FreeTables();
    bool ReportBelongsHere(uint8_t reportId) const;

    HidNodeSource& source_;

    std::vector<std::string> paths_;
    size_t pathCursor_ = 0;

    bool wantRead_ = false;
    bool wantWrite_ = false;
    bool overlapped_ = false;
    bool shareReadOnly_ = false;

    UniqueFd fd_;
    UniqueFd lockFd_;  // what LockNode locks when the source names one; fd_ otherwise
    std::atomic<bool> nodeLocked_{false};
    UniqueFd stopEvent_;  // eventfd; Close() writes it to end a wait in progress
    std::string devicePath_;
    HidCollectionCaps collection_;
    HidCaps caps_;
    HidAttributes attributes_;
    std::vector<uint8_t> inputReport_;
    std::vector<HidReportItem> inputItems_;

    std::atomic<bool> readInProgress_{false};
    std::atomic<bool> writeInProgress_{false};
    std::atomic<bool> lockInProgress_{false};
    // Close() waits for a read or write in progress to leave before the descriptor is closed,
    // so a wait never polls a descriptor number that has been reused.
    std::mutex ioMutex_;
    std::condition_variable ioIdle_;
    int ioUsers_ = 0;

    bool closing_ = false;
    bool isSocket_ = false;  // sockets are written with send() so a closed peer raises no SIGPIPE
    bool nodeHasSeveralCollections_ = false;

    std::atomic<HidError> lastError_{HidError::None};
    HidReportObserver observer_;
};

}  // namespace zarvin
