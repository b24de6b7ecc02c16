#pragma once

// The running instance's side of the instance channel on the window's thread: each request of
// another start of the program (or of zarvinctl) becomes a window message, is handled, and only
// then answered, so the sender waits as for a sent message. Requests are handled one after the
// other, except a kill, which is handled at once even while another request is being handled.
// zarvinctl's reload is the exception to the waiting: it is answered as soon as it is taken, so
// that a script never waits for someone to close the window's message box; the window reloads
// as soon as it is free.

#include <QObject>
#include <QSocketNotifier>
#include <deque>
#include <functional>

#include "device/WindowMessages.h"
#include "platform/InstanceChannel.h"

namespace zarvin {

// The window message each request of another instance becomes.
WindowMessage WindowMessageOf(InstanceRequest request);

class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(WindowMessage message)>;

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
