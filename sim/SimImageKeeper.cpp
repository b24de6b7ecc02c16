#include "sim/SimImageKeeper.h"

#include <system_error>

#include "sim/SimKeyboard.h"

namespace zarvin::sim {

namespace fs = std::filesystem;

SimImageKeeper::SimImageKeeper(SimKeyboard& keyboard, fs::path file)
    : keyboard_(keyboard), file_(std::move(file)) {}

SimImageKeeper::~SimImageKeeper() {
    EndThread();
}

bool SimImageKeeper::Load(std::string& error) {
    const std::lock_guard lock(fileMutex_);
    // Only a file that is not there at all keeps the memory as it is; anything else in its
    // place (a symbolic link loop, a named pipe) must be read and is refused with its reason.
    std::error_code unknown;
    if (fs::status(file_, unknown).type() != fs::file_type::not_found &&
        !keyboard_.LoadImage(file_, error)) {
        error = "the stand-in keyboard's memory in " + file_.string() +
                " cannot be used: " + error;
        return false;
    }
    kept_ = keyboard_.ImageBytes();
    return true;
}

bool SimImageKeeper::SaveIfChanged(std::string& error) {
    const std::lock_guard lock(fileMutex_);
    std::vector<uint8_t> now = keyboard_.ImageBytes();
    if (now == kept_) {
        return true;
    }
    std::error_code made;
    fs::create_directories(file_.parent_path(), made);
    if (!keyboard_.SaveImage(file_, error)) {
        error = "cannot keep the stand-in keyboard's memory in " + file_.string() + ": " + error;
        return false;
    }
    kept_ = std::move(now);
    return true;
}

bool SimImageKeeper::StartKeeping(std::chrono::milliseconds delay,
                                  std::function<void(const std::string&)> failed) {
    if (keeper_.joinable()) {
        return false;
    }
    {
        const std::lock_guard lock(changeMutex_);
        delay_ = delay;
        failed_ = std::move(failed);
        changed_ = false;
        stopping_ = false;
    }
    try {
        keeper_ = std::thread([this] { KeepThread(); });
    } catch (const std::system_error&) {
        return false;
    }
    keyboard_.OnMemoryChange([this] {
        const std::lock_guard lock(changeMutex_);
        if (!changed_) {
            changed_ = true;
            wake_.notify_one();
        }
    });
    return true;
}

bool SimImageKeeper::StopKeeping(std::string& error) {
    EndThread();
    return SaveIfChanged(error);
}

void SimImageKeeper::EndThread() {
    if (!keeper_.joinable()) {
        return;
    }
    // Once this returns the handler runs no more: the keyboard calls it under its lock.
    keyboard_.OnMemoryChange(nullptr);
    {
        const std::lock_guard lock(changeMutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    keeper_.join();
}

void SimImageKeeper::KeepThread() {
    bool failureTold = false;
    std::unique_lock lock(changeMutex_);
    for (;;) {
        wake_.wait(lock, [this] { return changed_ || stopping_; });
        // Changes made within the delay go with this one; a stop leaves the rest to StopKeeping.
        if (wake_.wait_for(lock, delay_, [this] { return stopping_; })) {
            return;
        }
        changed_ = false;
        lock.unlock();
        std::string error;
        if (!SaveIfChanged(error) && !failureTold && failed_) {
            failureTold = true;
            failed_(error);
        }
        lock.lock();
    }
}

}  // namespace zarvin::sim
