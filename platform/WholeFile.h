#pragma once

// Small settings files read and written whole. A write goes to a temporary file in the same
// folder, is flushed to the disk and then renamed over the target, so a reader sees either the
// old file or the new one and a failed write leaves the old file as it was.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zarvin {

// Settings files are a few kilobytes; anything far larger is not one of ours.
inline constexpr size_t kMaxSettingsFileBytes = 16u << 20;

enum class FileReadStatus {
    kRead,
    kMissing,  // no such file
    kFailed,   // there is something, but it is not a regular file we can read within the cap
};

struct FileContents {
    FileReadStatus status = FileReadStatus::kMissing;
    std::string bytes;
    // Why the file was not read, for messages that name it: "No such file or directory", "it
    // is a named pipe, not a file", "it is larger than 1048576 bytes", ...
    std::string error;
};

// Never blocks on a named pipe or device in the file's place: anything but a regular file fails.
FileContents ReadWholeFile(const std::filesystem::path& file,
                           size_t maxBytes = kMaxSettingsFileBytes);

// Replaces `file` (the file a symbolic link points to, when it is one that WriteTarget follows)
// with `bytes`. The folder must exist. An existing file keeps its permissions; a new one gets 0666 less the umask.
bool WriteWholeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// The same, but a file that already holds exactly `bytes` is left as it is, without a write or a
// flush to the disk: for large files written again with what they hold (the profile cache file
// on every connection).
bool WriteWholeFileIfChanged(const std::filesystem::path& file, std::string_view bytes);

}  // namespace zarvin
