#pragma once

// Where HID interfaces come from: the hidraw nodes of this machine (platform/) or the stand-in
// keyboard (sim/). HidDevice works the same on both: each node is a file descriptor that moves
// one report per read() or write().

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"

namespace zarvin {

// Why an open, read or write failed.
enum class HidError {
    None,
    NotFound,          // no such node
    PermissionDenied,  // the node exists but this user may not open it
    Busy,              // another program holds it
    Gone,              // the device went away
    TimedOut,
    Stopped,        // cut short by Close
    BadDescriptor,  // the report descriptor could not be parsed
    PathTooLong,
    Io,  // any other system error
};

const char* HidErrorText(HidError error);

struct HidNodeInfo {
    std::string node;  // what is opened, for example "/dev/hidraw3"
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
    int interfaceNumber = -1;  // USB interface number, -1 when the bus has none
    std::vector<uint8_t> reportDescriptor;
};

// Tells a thread that waits for nodes to come or go when to look again, so that it need not
// look again and again.
class NodeWatch {
public:
    virtual ~NodeWatch() = default;
    // Turns readable (POLLIN) when nodes may have come or gone or had their access changed.
    virtual int Descriptor() const = 0;
    // Takes, without waiting, what made the descriptor readable; true when any of it may
    // concern the source's nodes.
    virtual bool TakeChanges() = 0;
};

class HidNodeSource {
public:
    virtual ~HidNodeSource() = default;

    // The nodes present now. False when they cannot be listed at all.
    virtual bool EnumerateNodes(std::vector<HidNodeInfo>& nodes) = 0;

    // Opens `node` with the access asked for and fills `info` for it. With neither read nor
    // write it only tells whether the node is still there (fd stays invalid).
    virtual HidError OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                              HidNodeInfo& info) = 0;

    // What a program locks with flock() to keep other programs off `node` while it talks to
    // it. Invalid (the default) means the descriptor OpenNode gave, as for a device node, where
    // every open of the node shares the lock. A source whose opens are separate sockets returns
    // a descriptor of its own for each call, all standing for the one node.
    virtual UniqueFd OpenNodeLock(const std::string& /*node*/) { return UniqueFd(); }

    // Watches the nodes from now on. None (the default) when the source cannot tell of changes
    // or the system gives no watch: the caller then looks again now and then. With a watch,
    // a node that goes while open also hangs up its descriptors (POLLHUP or POLLERR).
    virtual std::unique_ptr<NodeWatch> WatchNodes() { return nullptr; }
};

}  // namespace zarvin
