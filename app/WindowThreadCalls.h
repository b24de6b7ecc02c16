#pragma once

// Calls carried from any thread onto the thread of one window object: queued ones, and blocking
// ones that return once the call has run there. At exit the window ends the blocking calls that
// still wait, without running them, so a thread it is about to join is never left waiting on it.

#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zarvin {

class WindowThreadCalls {
public:
    // `target` outlives this object; calls run on its thread.
    explicit WindowThreadCalls(QObject& target);
    ~WindowThreadCalls();
    WindowThreadCalls(const WindowThreadCalls&) = delete;
    WindowThreadCalls& operator=(const WindowThreadCalls&) = delete;

    // Runs `call` on the target's thread (at once when already there) and waits for it. False
    // when the calls were ended before it ran.
    bool RunAndWait(const std::function<void()>& call);
    // Queues `call` on the target's thread; dropped once the calls are ended.
    void Post(std::function<void()> call);
    // Ends every waiting call without running it; later calls end at once.
    void EndCalls();
    bool Ended() const;

private:
    struct Pending {
        bool finished = false;
        bool ran = false;
    };

    bool OnTargetThread() const;

    QObject& target_;
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<std::shared_ptr<Pending>> pending_;
    bool ended_ = false;
    // Queued calls hold this, so a call that arrives after this object is gone does nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zarvin
