#include "app/WindowThreadCalls.h"

#include <QThread>
#include <utility>

namespace zarvin {

namespace {

// Whatever Qt carries to the target's thread is made by Qt alone: a call by name, without data.
class Waker : public QObject {
    Q_OBJECT
public:
    explicit Waker(std::function<void()> wake) : wake_(std::move(wake)) {}
    Q_INVOKABLE void Wake() { wake_(); }

private:
    std::function<void()> wake_;
};

}  // namespace

WindowThreadCalls::WindowThreadCalls(QObject& target)
    : target_(target), waker_(std::make_unique<Waker>([this] { RunQueued(); })) {
    waker_->moveToThread(target_.thread());
}

WindowThreadCalls::~WindowThreadCalls() {
    EndCalls();
}

bool WindowThreadCalls::OnTargetThread() const {
    return QThread::currentThread() == target_.thread();
}

bool WindowThreadCalls::Ended() const {
    const std::lock_guard lock(mutex_);
    return ended_;
}

bool WindowThreadCalls::Enqueue(Queued queued) {
    // Under the lock: once the calls have ended, the waker may be gone.
    const std::lock_guard lock(mutex_);
    if (ended_) {
        return false;
    }
    queue_.push_back(std::move(queued));
    QMetaObject::invokeMethod(waker_.get(), "Wake", Qt::QueuedConnection);
    return true;
}

void WindowThreadCalls::RunQueued() {
    // One call at a time: a call may open a modal loop that runs the calls queued after it.
    for (;;) {
        Queued next;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        next.call();
        if (next.pending) {
            {
                const std::lock_guard lock(mutex_);
                next.pending->finished = true;
                next.pending->ran = true;
            }
            finished_.notify_all();
        }
    }
}

bool WindowThreadCalls::RunAndWait(const std::function<void()>& call) {
    if (OnTargetThread()) {
        if (Ended()) {
            return false;
        }
        call();
        return true;
    }
    auto pending = std::make_shared<Pending>();
    if (!Enqueue(Queued{call, pending})) {
        return false;
    }
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return pending->finished; });
    return pending->ran;
}

void WindowThreadCalls::Post(std::function<void()> call) {
    Enqueue(Queued{std::move(call), nullptr});
}

void WindowThreadCalls::EndCalls() {
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        for (const Queued& queued : queue_) {
            if (queued.pending) {
                queued.pending->finished = true;
            }
        }
        queue_.clear();
    }
    finished_.notify_all();
}

}  // namespace zarvin

#include "WindowThreadCalls.moc"
