#include "device/CommandLock.h"

#include "device/HidDevice.h"

namespace zarvin {

CommandLock::CommandLock(HidDevice& device, std::chrono::milliseconds nodeTimeout)
    : device_(device), nodeTimeout_(nodeTimeout) {}

void CommandLock::lock() {
    mutex_.lock();
    ++depth_;
}

void CommandLock::unlock() {
    if (--depth_ == 0) {
        if (node_ == NodeHold::Held) {
            device_.UnlockNode();
        }
        node_ = NodeHold::NotYet;
    }
    mutex_.unlock();
}

bool CommandLock::HoldNode() {
    if (node_ == NodeHold::Refused) {
        return false;
    }
    // The device monitor may have opened the node again since: the new descriptor holds no lock.
    if (node_ == NodeHold::Held && device_.NodeLocked()) {
        return true;
    }
    const HidError locked = device_.LockNode(static_cast<int>(nodeTimeout_.count()));
    if (locked == HidError::TimedOut) {
        node_ = NodeHold::Refused;
        return false;
    }
    // A closed or closing device fails the exchange's own write.
    node_ = NodeHold::Held;
    return true;
}

}  // namespace zarvin
