#pragma once

// Reads a profile file in pieces, knowing its real size before anything is read, so that every
// size a file declares can be checked against what it holds.

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/UniqueFd.h"

namespace zarvin {

class ProfileFileReader {
public:
    // FileResult::Success; Failure when there is no such file; CannotOpen when it cannot be
    // opened or is not a regular file (a folder, a pipe, a device).
    int Open(const std::filesystem::path& path);

    // Bytes the file had when it was opened.
    uint64_t Size() const { return size_; }

    // Fills `into` with the next bytes of the file; false on an error or when the file ends
    // first (it shrank since it was opened).
    bool Read(std::span<uint8_t> into);

private:
    UniqueFd fd_;
    uint64_t size_ = 0;
};

}  // namespace zarvin
