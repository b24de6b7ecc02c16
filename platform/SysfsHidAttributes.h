#pragma once

// Reading a HID device's entry in sysfs: its small files and the ids its uevent names.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zarvin {

// sysfs gives a text attribute one page at most.
inline constexpr size_t kMaxSysfsTextSize = 4096;

// The whole of a file of at most `limit` bytes; nothing when it cannot be read or is larger.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& file, size_t limit);

// A hexadecimal number, allowing the white space around it that sysfs writes.
std::optional<uint32_t> ParseSysfsHex(std::string_view text);

struct SysfsHidIds {
    uint32_t bus = 0;
    uint32_t vendor = 0;
    uint32_t product = 0;
};

// The "HID_ID=0003:00000C45:00005004" line of a HID device's uevent; nothing when there is no
// such line or one of its three fields is not a number.
std::optional<SysfsHidIds> FindHidIds(std::string_view uevent);

}  // namespace zarvin
