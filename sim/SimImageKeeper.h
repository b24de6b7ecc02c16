#pragma once

// Keeps the stand-in keyboard's memory in its image file while a program runs on it, so that
// another program on the same file (zarvinctl --simulate beside the window) sees each change
// soon after it is made, and a crash loses at most the last moments.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zarvin::sim {

class SimKeyboard;

class SimImageKeeper {
public:
    // Both outlive the keeper.
    SimImageKeeper(SimKeyboard& keyboard, std::filesystem::path file);
    // Stops keeping without writing (StopKeeping writes).
    ~SimImageKeeper();
    SimImageKeeper(const SimImageKeeper&) = delete;
    SimImageKeeper& operator=(const SimImageKeeper&) = delete;

    // Takes the file's memory into the keyboard; a missing file keeps the keyboard as it is.
    // False, with `error` naming the file, when it cannot be read (a symbolic link loop, a
    // named pipe: never blocks) or is damaged.
    bool Load(std::string& error);
    // Writes the memory when it differs from what was last loaded or written. False, with
    // `error` naming the file, when it cannot be written.
    bool SaveIfChanged(std::string& error);

    // From now on the memory is written on a thread of the keeper `delay` after it changed
    // (changes made meanwhile go with it), and the thread sleeps while nothing changes.
    // `failed` is given the error of the first write that fails, on that thread. False when
    // the thread cannot be started, or keeping has started already.
    bool StartKeeping(std::chrono::milliseconds delay,
                      std::function<void(const std::string&)> failed);
    // Ends keeping at once and writes what changed since the last write (SaveIfChanged).
    bool StopKeeping(std::string& error);

    const std::filesystem::path& File() const { return file_; }

private:
    void KeepThread();
    void EndThread();

    SimKeyboard& keyboard_;
    std::filesystem::path file_;
    // Guards the file and `kept_`. Taken before the keyboard's own lock, never inside it.
    std::mutex fileMutex_;
    std::vector<uint8_t> kept_;

    // The keyboard's change handler sets `changed_` with the keyboard locked.
    std::mutex changeMutex_;
    std::condition_variable wake_;
    bool changed_ = false;
    bool stopping_ = false;
    std::chrono::milliseconds delay_{0};
    std::function<void(const std::string&)> failed_;
    std::thread keeper_;
};

}  // namespace zarvin::sim
