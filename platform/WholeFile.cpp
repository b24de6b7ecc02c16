#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#include "platform/UniqueFd.h"
#include "platform/WriteTarget.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Opens a new, unique file beside `target`; its path goes to `path`.
UniqueFd CreateTemporaryBeside(const fs::path& target, fs::path& path) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder / ("." + target.filename().string() + ".tmp." + std::to_string(::getpid()) +
                         "." + std::to_string(counter++));
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Valid() || errno != EEXIST) {
            return fd;
        }
    }
    return UniqueFd();
}

// A rename is durable only once the folder itself is flushed; failing that is not an error.
void SyncFolderOf(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get());
    }
}

}  // namespace

FileContents ReadWholeFile(const fs::path& file, size_t maxBytes) {
    FileContents contents;
    // Non-blocking, so that a named pipe put in the file's place cannot hang the open.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
        const int error = errno;
        contents.status = error == ENOENT || error == ENOTDIR ? FileReadStatus::kMissing
                                                              : FileReadStatus::kFailed;
        contents.error = std::strerror(error);
        return contents;
    }
    contents.status = FileReadStatus::kFailed;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        contents.error = std::strerror(errno);
        return contents;
    }
    if (!S_ISREG(info.st_mode)) {
        contents.error = S_ISFIFO(info.st_mode)  ? "it is a named pipe, not a file"
                         : S_ISDIR(info.st_mode) ? "it is a folder, not a file"
                                                 : "it is not a regular file";
        return contents;
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        contents.error = "it is larger than " + std::to_string(maxBytes) + " bytes";
        return contents;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            contents.error = std::strerror(errno);
            return contents;
        }
        if (got == 0) {
            break;
        }
        // The file may have grown since fstat().
        if (bytes.size() + static_cast<size_t>(got) > maxBytes) {
            contents.error = "it is larger than " + std::to_string(maxBytes) + " bytes";
            return contents;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    contents.status = FileReadStatus::kRead;
    contents.bytes = std::move(bytes);
    return contents;
}

bool WriteWholeFileAtomically(const fs::path& file, std::string_view bytes) {
    std::string unsafe;
    const std::optional<fs::path> resolved = WriteTarget(file, unsafe);
    if (!resolved) {
        return false;
    }
    const fs::path& target = *resolved;
    fs::path temporary;
    UniqueFd fd = CreateTemporaryBeside(target, temporary);
    if (!fd.Valid()) {
        return false;
    }
    struct stat existing {};
    bool ok = true;
    if (::stat(target.c_str(), &existing) == 0) {
        ok = ::fchmod(fd.Get(), existing.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    ok = fd.Reset() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

bool WriteWholeFileIfChanged(const fs::path& file, std::string_view bytes) {
    std::string unsafe;
    const std::optional<fs::path> resolved = WriteTarget(file, unsafe);
    if (!resolved) {
        return false;
    }
    const FileContents held = ReadWholeFile(*resolved, bytes.size());
    if (held.status == FileReadStatus::kRead && held.bytes == bytes) {
        return true;
    }
    return WriteWholeFileAtomically(file, bytes);
}

}  // namespace zarvin
