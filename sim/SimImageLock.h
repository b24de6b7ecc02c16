#pragma once

// One zarvinctl --simulate run is one step on the stand-in keyboard's memory: it holds this lock
// from loading the memory's image file to saving it, so that two runs at once cannot each save a
// memory the other never saw (a real keyboard keeps one memory; each run has its own stand-in).
// The lock is a file beside the image ("<image>.lock"); the window does not take it, since it
// takes in the image's changes as they come.

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/UniqueFd.h"

namespace zarvin::sim {

class SimImageLock {
public:
    // Waits up to `wait` for the lock of `imageFile`. Held() tells whether it was had; when not,
    // `error` says why (another run holds it all that time, or the lock file cannot be made).
    SimImageLock(const std::filesystem::path& imageFile, std::chrono::milliseconds wait,
                 std::string& error);

    bool Held() const { return fd_.Valid(); }

private:
    UniqueFd fd_;  // closing it lets the lock go
};

}  // namespace zarvin::sim
