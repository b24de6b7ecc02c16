#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zarvin {

// Ends a thread's waits at once when raised, from any thread. Raised once, for good.
class StopSignal {
public:
    void Raise() {
        {
            const std::lock_guard lock(mutex_);
            raised_ = true;
        }
        wake_.notify_all();
    }

    bool Raised() const {
        const std::lock_guard lock(mutex_);
        return raised_;
    }

    // Waits `duration` or until raised; true when the whole time passed unraised.
    bool WaitFor(std::chrono::milliseconds duration) {
        std::unique_lock lock(mutex_);
        return !wake_.wait_for(lock, duration, [this] { return raised_; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool raised_ = false;
};

}  // namespace zarvin
