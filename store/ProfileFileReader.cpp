#include "store/ProfileFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/ProfileFile.h"

namespace zarvin {

int ProfileFileReader::Open(const std::filesystem::path& path) {
    // Non-blocking, so that a named pipe in the file's place cannot hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const int error = errno;
    fd_ = UniqueFd(fd);
    if (fd < 0) {
        return error == ENOENT || error == ENOTDIR ? FileResult::Failure : FileResult::CannotOpen;
    }
    struct stat info {};
    if (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        fd_.Reset();
        return FileResult::CannotOpen;
    }
    size_ = static_cast<uint64_t>(info.st_size);
    return FileResult::Success;
}

bool ProfileFileReader::Read(std::span<uint8_t> into) {
    while (!into.empty()) {
        const ssize_t got = ::read(fd_.Get(), into.data(), into.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        into = into.subspan(static_cast<size_t>(got));
    }
    return true;
}

}  // namespace zarvin
