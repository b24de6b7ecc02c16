#include "platform/SysfsHidAttributes.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <system_error>

#include "platform/UniqueFd.h"

namespace zarvin {

std::optional<std::string> ReadSmallFile(const std::filesystem::path& file, size_t limit) {
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        return std::nullopt;
    }
    std::string contents;
    char chunk[1024];
    for (;;) {
        const ssize_t count = ::read(fd.Get(), chunk, sizeof chunk);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (count == 0) {
            return contents;
        }
        contents.append(chunk, static_cast<size_t>(count));
        if (contents.size() > limit) {
            return std::nullopt;
        }
    }
}

std::optional<uint32_t> ParseSysfsHex(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(kSpace) - first + 1);
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<SysfsHidIds> FindHidIds(std::string_view uevent) {
    constexpr std::string_view kKey = "HID_ID=";
    while (!uevent.empty()) {
        const size_t lineEnd = std::min(uevent.find('\n'), uevent.size());
        const std::string_view line = uevent.substr(0, lineEnd);
        uevent.remove_prefix(std::min(lineEnd + 1, uevent.size()));
        if (!line.starts_with(kKey)) {
            continue;
        }
        const std::string_view value = line.substr(kKey.size());
        const size_t first = value.find(':');
        const size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
        if (second == std::string_view::npos) {
            return std::nullopt;
        }
        const auto bus = ParseSysfsHex(value.substr(0, first));
        const auto vendor = ParseSysfsHex(value.substr(first + 1, second - first - 1));
        const auto product = ParseSysfsHex(value.substr(second + 1));
        if (!bus || !vendor || !product) {
            return std::nullopt;
        }
        return SysfsHidIds{*bus, *vendor, *product};
    }
    return std::nullopt;
}

}  // namespace zarvin
