#include "platform/UniqueFd.h"

#include <unistd.h>

namespace zarvin {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

bool UniqueFd::Reset(int fd) {
    bool closed = true;
    if (fd_ >= 0) {
        closed = ::close(fd_) == 0;
    }
    fd_ = fd;
    return closed;
}

}  // namespace zarvin
