#include "device/TrayNotices.h"

#include <system_error>

#include "device/MainWindowLink.h"
#include "device/WindowMessages.h"

namespace zarvin {

TrayNotices::TrayNotices(MainWindowLink& window, DeviceThreadTiming timing)
    : window_(window), timing_(timing) {}

TrayNotices::~TrayNotices() {
    Stop();
}

bool TrayNotices::Start() {
    try {
        worker_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void TrayNotices::Post(TrayMode mode) {
    queue_.Post(mode);
}

void TrayNotices::Stop() {
    queue_.Stop();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void TrayNotices::Run() {
    while (const auto mode = queue_.Take()) {
        window_.SetTrayIconState(*mode, TrayIcon::Remembered);
        if (!queue_.WaitFor(timing_.trayNoticeHold)) {
            return;
        }
    }
}

}  // namespace zarvin
