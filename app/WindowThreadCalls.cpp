#include "app/WindowThreadCalls.h"

#include <QThread>
#include <algorithm>
#include <utility>

namespace zarvin {

WindowThreadCalls::WindowThreadCalls(QObject& target) : target_(target) {}

WindowThreadCalls::~WindowThreadCalls() {
    EndCalls();
    *alive_ = false;
}

bool WindowThreadCalls::OnTargetThread() const {
    return QThread::currentThread() == target_.thread();
}

bool WindowThreadCalls::Ended() const {
    const std::lock_guard lock(mutex_);
    return ended_;
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
    {
        const std::lock_guard lock(mutex_);
        if (ended_) {
            return false;
        }
        pending_.push_back(pending);
    }
    QMetaObject::invokeMethod(
        &target_,
        [this, alive = alive_, pending, call] {
            if (!*alive) {
                return;
            }
            {
                const std::lock_guard lock(mutex_);
                if (pending->finished) {
                    return;  // ended meanwhile; the caller has gone on
                }
            }
            call();
            {
                const std::lock_guard lock(mutex_);
                pending->finished = true;
                pending->ran = true;
                std::erase(pending_, pending);
            }
            finished_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return pending->finished; });
    return pending->ran;
}

void WindowThreadCalls::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(
        &target_,
        [this, alive = alive_, call = std::move(call)] {
            if (*alive && !Ended()) {
                call();
            }
        },
        Qt::QueuedConnection);
}

void WindowThreadCalls::EndCalls() {
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        for (const std::shared_ptr<Pending>& pending : pending_) {
            pending->finished = true;
        }
        pending_.clear();
    }
    finished_.notify_all();
}

}  // namespace zarvin
