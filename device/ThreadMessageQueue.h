#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace zarvin {

// The messages a worker thread takes one by one, in the order they were posted, and the stop
// that ends the worker's waits at once.
template <typename Message>
class ThreadMessageQueue {
public:
    // Dropped once stopped.
    void Post(Message message) {
        {
            const std::lock_guard lock(mutex_);
            if (stopped_) {
                return;
            }
            messages_.push_back(message);
        }
        wake_.notify_all();
    }

    // The next message, waiting for one; nothing once stopped.
    std::optional<Message> Take() {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return stopped_ || !messages_.empty(); });
        if (stopped_) {
            return std::nullopt;
        }
        const Message message = messages_.front();
        messages_.pop_front();
        return message;
    }

    // Waits `duration` or until stopped; true when the whole time passed.
    bool WaitFor(std::chrono::milliseconds duration) {
        std::unique_lock lock(mutex_);
        return !wake_.wait_for(lock, duration, [this] { return stopped_; });
    }

    // Drops what is queued and ends every wait, for good.
    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
            messages_.clear();
        }
        wake_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Message> messages_;
    bool stopped_ = false;
};

}  // namespace zarvin
