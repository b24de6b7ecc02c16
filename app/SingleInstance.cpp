#include "app/SingleInstance.h"

#include "device/WindowMessages.h"

namespace zarvin {

WindowRequest WindowRequestOf(InstanceRequest request) {
    switch (request) {
        case InstanceRequest::Open:
            return {WindowMessage::Open, MessageTag::Open};
        case InstanceRequest::Kill:
            return {WindowMessage::Kill, MessageTag::Kill};
        case InstanceRequest::Reload:
            return {WindowMessage::Reload, MessageTag::Profile};
    }
    return {0, MessageTag::None};
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
    // A handler may open a message box; later senders wait until this request is done, as
    // they would behind a sent message.
    notifier_.setEnabled(false);
    const WindowRequest request = WindowRequestOf(pending->request);
    handler_(request.message, request.tag);
    InstanceListener::Answer(*pending);
    notifier_.setEnabled(true);
}

}  // namespace zarvin
