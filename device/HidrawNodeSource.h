#pragma once

// The machine's hidraw nodes: described from sysfs, opened under /dev. Both roots can be moved so
// that tests run on a fake tree.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/HidNodeSource.h"

namespace zarvin {

class HidrawNodeSource : public HidNodeSource {
public:
    explicit HidrawNodeSource(std::filesystem::path sysClassHidraw = "/sys/class/hidraw",
                              std::filesystem::path devFolder = "/dev");

    // Nodes in the order of their numbers (hidraw2 before hidraw10). Nodes whose sysfs entry
    // cannot be read are left out; no sysfs folder at all means no nodes.
    bool EnumerateNodes(std::vector<HidNodeInfo>& nodes) override;

    // Ids and descriptor come from the node itself; a file that does not answer the hidraw
    // requests (a fake tree) is described from its sysfs entry instead.
    HidError OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                      HidNodeInfo& info) override;

    // An inotify watch on the device folder (device/HidrawNodeWatch.h).
    std::unique_ptr<NodeWatch> WatchNodes() override;

private:
    // What sysfs says about the node `name` ("hidraw3").
    std::optional<HidNodeInfo> ReadSysfsNode(const std::string& name) const;

    std::filesystem::path sysClassHidraw_;
    std::filesystem::path devFolder_;
};

}  // namespace zarvin
