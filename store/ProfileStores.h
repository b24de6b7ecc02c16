#pragma once

// The working and the applied profile store of one configuration, and the one order in which
// both their locks are held: the working store's, then the applied store's. Code that needs both
// takes them through BothLocked, never one after the other by hand, so no two threads can take
// them in opposite orders.

#include <mutex>

#include "store/ProfileStore.h"

namespace zarvin {

class ProfileStores {
public:
    // The locks outlive this object (the configuration locks of the AppContext).
    ProfileStores(std::recursive_mutex& workingLock, std::recursive_mutex& appliedLock)
        : working_(workingLock), applied_(appliedLock) {}
    ProfileStores(const ProfileStores&) = delete;
    ProfileStores& operator=(const ProfileStores&) = delete;

    WorkingStore& Working() { return working_; }
    const WorkingStore& Working() const { return working_; }
    AppliedStore& Applied() { return applied_; }
    const AppliedStore& Applied() const { return applied_; }

    // Holds both locks, the working store's first, for as long as it lives.
    class BothLocked {
    public:
        explicit BothLocked(const ProfileStores& stores)
            : working_(stores.working_.Lock()), applied_(stores.applied_.Lock()) {}

    private:
        std::lock_guard<std::recursive_mutex> working_;
        std::lock_guard<std::recursive_mutex> applied_;
    };

private:
    WorkingStore working_;
    AppliedStore applied_;
};

}  // namespace zarvin
