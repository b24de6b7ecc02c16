#pragma once

// The running instance's side of the instance channel on the window's thread: each request of
// another start of the program (or of zarvinctl) becomes a window message, is handled, and only
// then answered, so the sender waits as for a sent message. Requests are handled one after the
// other, except a kill, which is handled at once even while another request is being handled.

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
#include <deque>
#include <functional>

#include "platform/InstanceChannel.h"

namespace zarvin {

struct WindowRequest {
    uint32_t message;
    uint32_t tag;
};

// Open → 'SP' 'OPEN', Kill → 'MK' 'KILL', Reload → 'TR' 'PROF'.
WindowRequest WindowRequestOf(InstanceRequest request);

class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(uint32_t message, uint32_t tag)>;

    // `listener` outlives this object; `handler` runs on this object's thread.
    SingleInstance(InstanceListener& listener, Handler handler, QObject* parent = nullptr);

private:
    void OnConnection();
    void Handle(InstanceListener::Pending& pending);

    InstanceListener& listener_;
    Handler handler_;
    QSocketNotifier notifier_;
    // Requests that arrived while another was being handled, in their order.
    std::deque<InstanceListener::Pending> waiting_;
    bool handling_ = false;
};

}  // namespace zarvin
