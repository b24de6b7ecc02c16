#pragma once

// Keeps the stand-in keyboard's memory in its image file while a program runs on it, so that
// another program on the same file (zarvinctl --simulate beside the window) sees each change
// soon after it is made, and a crash loses at most the last moments.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zarvin::sim {

class SimKeyboard;

class SimImageKeeper {
public:
    // Both outlive the keeper.
    SimImageKeeper(SimKeyboard& keyboard, std::filesystem::path file);

    // Takes the file's memory into the keyboard; a missing file keeps the keyboard as it is.
    // False, with `error` naming the file, when it cannot be read (a symbolic link loop, a
    // named pipe: never blocks) or is damaged.
    bool Load(std::string& error);
    // Writes the memory when it differs from what was last loaded or written. False, with
    // `error` naming the file, when it cannot be written.
    bool SaveIfChanged(std::string& error);

    const std::filesystem::path& File() const { return file_; }

private:
    SimKeyboard& keyboard_;
    std::filesystem::path file_;
    std::vector<uint8_t> kept_;
};

}  // namespace zarvin::sim
