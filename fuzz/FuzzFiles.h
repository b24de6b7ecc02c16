#pragma once

// What the fuzz targets share: a broken promise stops the run, and files the real file code
// opens by path, in memory (memfd, read by its /proc path) or in a scratch folder when the code
// under test renames over them.

#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <system_error>

namespace zarvin::fuzz {

inline void Require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

// A file in memory that the file functions open by path.
class MemoryFile {
public:
    explicit MemoryFile(const char* name)
        : fd_(::memfd_create(name, MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {
        Require(fd_ >= 0);
    }

    void Fill(std::span<const uint8_t> bytes) {
        Require(::ftruncate(fd_, 0) == 0);
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written =
                ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            Require(written > 0);
            done += static_cast<size_t>(written);
        }
    }

    const std::filesystem::path& Path() const { return path_; }

private:
    int fd_;
    std::filesystem::path path_;
};

// A folder of the process's own, removed when the process ends normally.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zarvin-fuzz-XXXXXX").string();
        Require(::mkdtemp(pattern.data()) != nullptr);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// Replaces the file `name` in the scratch folder with `bytes`.
inline std::filesystem::path ScratchFile(const std::string& name, std::span<const uint8_t> bytes) {
    const std::filesystem::path file = ScratchFolder() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file;
}

}  // namespace zarvin::fuzz
