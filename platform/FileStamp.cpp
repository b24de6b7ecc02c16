#include "platform/FileStamp.h"

#include <sys/stat.h>

#include <algorithm>

namespace zarvin {

namespace {

int64_t Nanoseconds(const timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

std::optional<FileStamp> CurrentStamp(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                     static_cast<int64_t>(info.st_size), Nanoseconds(info.st_mtim),
                     Nanoseconds(info.st_ctim)};
}

bool StampTooRecent(const FileStamp& stamp, std::chrono::system_clock::time_point now) {
    const int64_t nowNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
    const int64_t margin =
        std::chrono::duration_cast<std::chrono::nanoseconds>(kFileTimeGranularity).count();
    return std::max(stamp.modifiedNs, stamp.changedNs) > nowNs - margin;
}

}  // namespace zarvin
