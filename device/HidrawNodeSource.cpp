#include "device/HidrawNodeSource.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>

#include "device/HidrawNodeWatch.h"
#include "platform/SysfsHidAttributes.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNodePrefix = "hidraw";

// The number of a node name such as "hidraw12"; none for any other name.
std::optional<unsigned> NodeNumber(std::string_view name) {
    if (!name.starts_with(kNodePrefix) || name.size() == kNodePrefix.size()) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(kNodePrefix.size());
    unsigned number = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

std::optional<uint16_t> ParseHex16(std::string_view text) {
    const std::optional<uint32_t> value = ParseSysfsHex(text);
    if (!value || *value > UINT16_MAX) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(*value);
}

std::optional<uint16_t> ReadHexAttribute(const fs::path& path) {
    const std::optional<std::string> text = ReadSmallFile(path, kMaxSysfsTextSize);
    if (!text) {
        return std::nullopt;
    }
    return ParseHex16(*text);
}

struct HidId {
    uint16_t bus = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// The ids of a HID device's uevent; nothing unless each fits in 16 bits.
std::optional<HidId> ParseHidId(std::string_view uevent) {
    const std::optional<SysfsHidIds> ids = FindHidIds(uevent);
    if (!ids || ids->bus > UINT16_MAX || ids->vendor > UINT16_MAX || ids->product > UINT16_MAX) {
        return std::nullopt;
    }
    return HidId{static_cast<uint16_t>(ids->bus), static_cast<uint16_t>(ids->vendor),
                 static_cast<uint16_t>(ids->product)};
}

// The USB interface sits right above the HID device in sysfs and the USB device above that;
// they give the interface number and the device's release number (bcdDevice).
void ReadUsbPlacement(const fs::path& hidDevice, HidNodeInfo& info) {
    std::error_code ec;
    const fs::path resolved = fs::canonical(hidDevice, ec);
    if (ec) {
        return;
    }
    const fs::path usbInterface = resolved.parent_path();
    if (const auto number = ReadHexAttribute(usbInterface / "bInterfaceNumber")) {
        info.interfaceNumber = *number;
    }
    if (const auto release = ReadHexAttribute(usbInterface.parent_path() / "bcdDevice")) {
        info.versionNumber = *release;
    }
}

HidError OpenErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return HidError::NotFound;
        case EACCES:
        case EPERM:
            return HidError::PermissionDenied;
        case EBUSY:
            return HidError::Busy;
        default:
            return HidError::Io;
    }
}

// Asks an open hidraw node for its ids and report descriptor; returns 0 or the errno of the
// request that failed, and changes `info` only on success.
int ReadInfoFromNode(int fd, HidNodeInfo& info) {
    hidraw_devinfo devinfo{};
    if (::ioctl(fd, HIDIOCGRAWINFO, &devinfo) != 0) {
        return errno;
    }
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) != 0) {
        return errno;
    }
    if (size < 0 || size > HID_MAX_DESCRIPTOR_SIZE) {
        return EIO;
    }
    hidraw_report_descriptor descriptor{};
    descriptor.size = static_cast<uint32_t>(size);
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) != 0) {
        return errno;
    }
    info.vendorId = static_cast<uint16_t>(devinfo.vendor);
    info.productId = static_cast<uint16_t>(devinfo.product);
    info.reportDescriptor.assign(descriptor.value, descriptor.value + descriptor.size);
    return 0;
}

}  // namespace

HidrawNodeSource::HidrawNodeSource(fs::path sysClassHidraw, fs::path devFolder)
    : sysClassHidraw_(std::move(sysClassHidraw)), devFolder_(std::move(devFolder)) {}

bool HidrawNodeSource::EnumerateNodes(std::vector<HidNodeInfo>& nodes) {
    nodes.clear();
    std::error_code ec;
    fs::directory_iterator entry(sysClassHidraw_, ec);
    if (ec) {
        // A kernel without hidraw has no such folder: that is no nodes, not a failure.
        return ec == std::errc::no_such_file_or_directory;
    }
    std::vector<std::pair<unsigned, std::string>> names;
    for (const fs::directory_iterator end; entry != end;) {
        std::string name = entry->path().filename().string();
        if (const auto number = NodeNumber(name)) {
            names.emplace_back(*number, std::move(name));
        }
        entry.increment(ec);
        if (ec) {
            return false;
        }
    }
    std::sort(names.begin(), names.end());
    for (const auto& [number, name] : names) {
        if (auto info = ReadSysfsNode(name)) {
            nodes.push_back(std::move(*info));
        }
    }
    return true;
}

HidError HidrawNodeSource::OpenNode(const std::string& node, bool read, bool write, UniqueFd& fd,
                                    HidNodeInfo& info) {
    fd.Reset();
    const std::string name = fs::path(node).filename().string();
    // Only a node name may pick the sysfs entry, so that "/dev/.." cannot reach its parent.
    const bool hasNodeName = NodeNumber(name).has_value();

    if (!read && !write) {
        std::error_code ec;
        const bool present =
            hasNodeName && fs::exists(node, ec) && fs::exists(sysClassHidraw_ / name, ec);
        return present ? HidError::None : HidError::NotFound;
    }

    const int access = read && write ? O_RDWR : (read ? O_RDONLY : O_WRONLY);
    UniqueFd opened(::open(node.c_str(), access | O_CLOEXEC | O_NONBLOCK));
    if (!opened.Valid()) {
        return OpenErrorFromErrno(errno);
    }

    const std::optional<HidNodeInfo> sysfsInfo = hasNodeName ? ReadSysfsNode(name) : std::nullopt;
    HidNodeInfo described = sysfsInfo.value_or(HidNodeInfo{});
    described.node = node;
    const int error = ReadInfoFromNode(opened.Get(), described);
    if (error == ENOTTY || error == EINVAL) {
        if (!sysfsInfo) {
            return HidError::NotFound;  // neither a hidraw node nor described by sysfs
        }
    } else if (error != 0) {
        return error == ENODEV ? HidError::Gone : HidError::Io;
    }

    fd = std::move(opened);
    info = std::move(described);
    return HidError::None;
}

std::unique_ptr<NodeWatch> HidrawNodeSource::WatchNodes() {
    return HidrawNodeWatch::Open(devFolder_);
}

std::optional<HidNodeInfo> HidrawNodeSource::ReadSysfsNode(const std::string& name) const {
    const fs::path hidDevice = sysClassHidraw_ / name / "device";
    const std::optional<std::string> uevent =
        ReadSmallFile(hidDevice / "uevent", kMaxSysfsTextSize);
    if (!uevent) {
        return std::nullopt;
    }
    const std::optional<HidId> id = ParseHidId(*uevent);
    if (!id) {
        return std::nullopt;
    }
    const std::optional<std::string> descriptor =
        ReadSmallFile(hidDevice / "report_descriptor", HID_MAX_DESCRIPTOR_SIZE);
    if (!descriptor) {
        return std::nullopt;
    }

    HidNodeInfo info;
    info.node = (devFolder_ / name).string();
    info.vendorId = id->vendor;
    info.productId = id->product;
    info.reportDescriptor.reserve(descriptor->size());
    for (const char byte : *descriptor) {
        info.reportDescriptor.push_back(static_cast<uint8_t>(byte));
    }
    if (id->bus == BUS_USB) {
        ReadUsbPlacement(hidDevice, info);
    }
    return info;
}

}  // namespace zarvin
