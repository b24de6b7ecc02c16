#pragma once

// The command lock: one keyboard exchange or batch at a time, within this process and between
// programs. Within the process it is a recursive mutex, so a caller can hold it across a whole
// BeginTransfer ... EndTransfer batch. Between programs the outermost hold also locks the
// command node (flock, through HidDevice::LockNode) from its first exchange until it ends, so
// the window and zarvinctl queue instead of taking each other's replies.

#include <chrono>
#include <mutex>

namespace zarvin {

class HidDevice;

class CommandLock {
public:
    CommandLock(HidDevice& device, std::chrono::milliseconds nodeTimeout);
    CommandLock(const CommandLock&) = delete;
    CommandLock& operator=(const CommandLock&) = delete;

    void lock();
    void unlock();

    // For an exchange, with the lock held: locks the node for the rest of the outermost hold
    // unless that is done already. False when another program kept it past the time-out; the
    // rest of the hold is then refused at once rather than waiting again for each exchange.
    bool HoldNode();

private:
    enum class NodeHold { NotYet, Held, Refused };

    HidDevice& device_;
    const std::chrono::milliseconds nodeTimeout_;
    std::recursive_mutex mutex_;
    // Both guarded by mutex_.
    int depth_ = 0;
    NodeHold node_ = NodeHold::NotYet;
};

}  // namespace zarvin
