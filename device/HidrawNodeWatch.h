#pragma once

// Watches the device folder for hidraw nodes. The kernel (devtmpfs) makes and removes a node as
// its device comes and goes, whether or not udev runs, and udev changes its owner, mode and
// access list afterwards: each shows as an inotify event on the folder.

#include <filesystem>
#include <memory>

#include "device/HidNodeSource.h"
#include "platform/UniqueFd.h"

namespace zarvin {

class HidrawNodeWatch : public NodeWatch {
public:
    // None when the folder cannot be watched (no inotify instance left, no such folder).
    static std::unique_ptr<HidrawNodeWatch> Open(const std::filesystem::path& devFolder);

    int Descriptor() const override { return inotify_.Get(); }
    // True for a hidraw node made, removed, renamed or changed in its access, and for anything
    // that may have hidden such a change (lost events, the folder itself gone).
    bool TakeChanges() override;

private:
    explicit HidrawNodeWatch(UniqueFd inotify) : inotify_(std::move(inotify)) {}

    UniqueFd inotify_;
};

}  // namespace zarvin
