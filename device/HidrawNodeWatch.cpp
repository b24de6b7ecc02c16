#include "device/HidrawNodeWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace zarvin {

namespace {

constexpr std::string_view kNodePrefix = "hidraw";

// Made or removed by the kernel, renamed by hand, owner, mode or access list changed by udev.
constexpr uint32_t kNodeEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
// The watch lost events or ended: what it missed may have been a node.
constexpr uint32_t kMissedEvents =
    IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

}  // namespace

std::unique_ptr<HidrawNodeWatch> HidrawNodeWatch::Open(const std::filesystem::path& devFolder) {
    UniqueFd inotify(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    if (!inotify.Valid() ||
        ::inotify_add_watch(inotify.Get(), devFolder.c_str(), kNodeEvents | IN_ONLYDIR) < 0) {
        return nullptr;
    }
    return std::unique_ptr<HidrawNodeWatch>(new HidrawNodeWatch(std::move(inotify)));
}

bool HidrawNodeWatch::TakeChanges() {
    bool changed = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(inotify_.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return changed;  // EAGAIN: everything taken
        }
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= count;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            const std::string_view nodeName(name, event.len > 0 ? ::strnlen(name, event.len) : 0);
            if ((event.mask & kMissedEvents) != 0 ||
                ((event.mask & kNodeEvents) != 0 && nodeName.starts_with(kNodePrefix))) {
                changed = true;
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
}

}  // namespace zarvin
