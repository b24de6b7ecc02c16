#pragma once

// How a device thread waits between two looks for the keyboard: on the node source's watch
// where it has one (the thread then wakes only when nodes come or go, the open keyboard hangs up
// or it is stopped), else for a fixed time as a plain poll.

#include <chrono>
#include <memory>
#include <optional>

#include "device/HidNodeSource.h"
#include "device/StopSignal.h"

namespace zarvin {

class HidDevice;

class NodeChangeWait {
public:
    // Watches `source`'s nodes from now on when both it and `stop` give descriptors. Both
    // outlive this object.
    NodeChangeWait(HidNodeSource& source, StopSignal& stop);

    bool Watching() const { return watch_ != nullptr; }

    enum class End {
        Stopped,       // the stop was raised
        TimedOut,      // the time-out passed
        NodesChanged,  // nodes came, went or changed their access
        HungUp,        // the device's node hung up: it went
    };

    // Watching: waits until stopped, a change of nodes, `device` (when given) hangs up or
    // `timeout` passes (none: no time-out). Not watching: waits `pollInterval` or until
    // stopped.
    End Wait(HidDevice* device, std::optional<std::chrono::milliseconds> timeout,
             std::chrono::milliseconds pollInterval);

private:
    StopSignal& stop_;
    std::unique_ptr<NodeWatch> watch_;
};

}  // namespace zarvin
