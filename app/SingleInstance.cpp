#include "app/SingleInstance.h"

#include "device/WindowMessages.h"

namespace zarvin {

WindowMessage WindowMessageOf(InstanceRequest request) {
    switch (request) {
        case InstanceRequest::Open:
            return WindowMessage::Open;
        case InstanceRequest::Kill:
            return WindowMessage::Kill;
        case InstanceRequest::Reload:
            return WindowMessage::Reload;
    }
    return WindowMessage::Reload;
}

SingleInstance::SingleInstance(InstanceListener& listener, Handler handler, QObject* parent)
    : QObject(parent),
      listener_(listener),
      handler_(std::move(handler)),
      notifier_(listener.Fd(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &SingleInstance::OnConnection);
}

void SingleInstance::OnConnection() {
    auto pending = listener_.Accept();
    if (!pending) {
        return;
    }
    // A kill is handled at once, even while an earlier request's message box is open: the exit
    // path closes that box.
    if (pending->request == InstanceRequest::Kill) {
        Handle(*pending);
        return;
    }
    if (pending->request == InstanceRequest::Reload) {
        InstanceListener::Answer(*pending);
    }
    waiting_.push_back(std::move(*pending));
    // A handler may open a message box, whose loop brings later senders here: they wait until
    // the request before them is done, as they would behind a sent message.
    if (handling_) {
        return;
    }
    handling_ = true;
    while (!waiting_.empty()) {
        InstanceListener::Pending next = std::move(waiting_.front());
        waiting_.pop_front();
        Handle(next);
    }
    handling_ = false;
}

void SingleInstance::Handle(InstanceListener::Pending& pending) {
    handler_(WindowMessageOf(pending.request));
    InstanceListener::Answer(pending);
}

}  // namespace zarvin
