#pragma once

// The running instance's side of the instance channel on the window's thread: each request of
// another start of the program (or of zarvinctl) becomes a window message, is handled, and only
// then answered, so the sender waits as for a sent message.

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
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

    InstanceListener& listener_;
    Handler handler_;
    QSocketNotifier notifier_;
};

}  // namespace zarvin
