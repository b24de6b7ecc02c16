#pragma once

// What tells one state of a file from another without reading it: the file (device and inode),
// its size and its modification and change times. A rewrite changes the stamp, with one gap:
// file times come from a clock that advances in ticks, so a rewrite to the same size within
// the tick of the last one can keep them. A file whose times are that recent is not trusted.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace zarvin {

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;  // since the epoch
    int64_t changedNs = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// How far back from now a file's times may still share a tick with a later rewrite. Generous:
// Linux file systems stamp to the kernel tick (a few milliseconds), FAT to two seconds.
inline constexpr std::chrono::seconds kFileTimeGranularity{2};

// The stamp of the file at `file` (a symbolic link followed), or nothing when there is none.
std::optional<FileStamp> CurrentStamp(const std::filesystem::path& file);

// Whether a rewrite could leave the stamp as it is, looked at `now`: the file's times are within
// kFileTimeGranularity of it (or after it).
bool StampTooRecent(const FileStamp& stamp, std::chrono::system_clock::time_point now);

}  // namespace zarvin
