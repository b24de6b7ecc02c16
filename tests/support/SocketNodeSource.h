#pragma once

// A node source for transport tests: each node is a socketpair whose far end the test holds,
// so a test plays the device byte for byte.

#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "device/HidNodeSource.h"

namespace zarvin::test_support {

class SocketNodeSource : public HidNodeSource {
public:
    void AddNode(HidNodeInfo info) { nodes_.push_back(std::move(info)); }

    bool EnumerateNodes(std::vector<HidNodeInfo>& nodes) override {
        nodes = nodes_;
        return true;
    }

    HidError OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                      HidNodeInfo& info) override {
        for (const HidNodeInfo& candidate : nodes_) {
            if (candidate.node != node) {
                continue;
            }
            info = candidate;
            if (!read && !write) {
                return HidError::None;
            }
            int ends[2];
            if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
                return HidError::Io;
            }
            fd.Reset(ends[0]);
            deviceEnds_[node] = UniqueFd(ends[1]);
            return HidError::None;
        }
        return HidError::NotFound;
    }

    // The device's end of the last descriptor opened on `node`.
    int DeviceEnd(const std::string& node) { return deviceEnds_[node].Get(); }
    void HangUp(const std::string& node) { deviceEnds_[node].Reset(); }

private:
    std::vector<HidNodeInfo> nodes_;
    std::map<std::string, UniqueFd> deviceEnds_;
};

}  // namespace zarvin::test_support
