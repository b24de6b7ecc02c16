#include "sim/SimImageLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

namespace zarvin::sim {

namespace {

constexpr std::chrono::milliseconds kRetry{20};

}  // namespace

SimImageLock::SimImageLock(const std::filesystem::path& imageFile, std::chrono::milliseconds wait,
                           std::string& error) {
    std::filesystem::path lockFile = imageFile;
    lockFile += ".lock";
    std::error_code ignored;
    std::filesystem::create_directories(lockFile.parent_path(), ignored);
    UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        error = "cannot open " + lockFile.string() + ": " + std::strerror(errno);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
            fd_ = std::move(fd);
            return;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            error = "cannot lock " + lockFile.string() + ": " + std::strerror(errno);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "another zarvinctl --simulate has held the stand-in keyboard's memory (" +
                    lockFile.string() + ") for over " +
                    std::to_string(std::chrono::ceil<std::chrono::seconds>(wait).count()) + " s";
            return;
        }
        std::this_thread::sleep_for(kRetry);
    }
}

}  // namespace zarvin::sim
