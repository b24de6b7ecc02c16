#pragma once

// Calls carried from any thread onto the thread of one window object: queued ones, and blocking
// ones that return once the call has run there. At exit the window ends the blocking calls that
// still wait, without running them, so a thread it is about to join is never left waiting on it.
//
// The calls pass through a queue under this object's own mutex; Qt only wakes the target's
// thread to take them. So every hand-over is one that ThreadSanitizer sees (Qt's own locks are
// not built with it), and a race in a call's data is a finding, not noise.

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

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
    struct Queued {
        std::function<void()> call;
        std::shared_ptr<Pending> pending;  // none for a posted call
    };

    bool OnTargetThread() const;
    // False when the calls have ended.
    bool Enqueue(Queued queued);
    // Runs the queued calls, one at a time, on the target's thread.
    void RunQueued();

    QObject& target_;
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<Queued> queue_;
    bool ended_ = false;
    // Lives on the target's thread; a wake-up posted to it goes with it when this object does.
    std::unique_ptr<QObject> waker_;
};

}  // namespace zarvin
