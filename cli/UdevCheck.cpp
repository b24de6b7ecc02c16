#include "cli/UdevCheck.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/Commands.h"
#include "device/HidReportDescriptor.h"
#include "keyboard/KeyboardIds.h"
#include "keyboard/KeyboardModel.h"
#include "platform/SysfsHidAttributes.h"

namespace zarvin::cli {
namespace {

constexpr uint16_t kGenericDesktopPage = 0x01;
constexpr uint16_t kKeyboardUsage = 0x06;
constexpr uint16_t kKeypadUsage = 0x07;
constexpr uint16_t kKeyboardPage = 0x07;
constexpr uint16_t kBusUsb = 0x03;

bool CarriesKeyPresses(const HidCollectionCaps& collection) {
    if (collection.usagePage == kGenericDesktopPage &&
        (collection.usage == kKeyboardUsage || collection.usage == kKeypadUsage)) {
        return true;
    }
    return std::any_of(collection.inputButtonCaps.begin(), collection.inputButtonCaps.end(),
                       [](const HidButtonCaps& caps) { return caps.usagePage == kKeyboardPage; }) ||
           std::any_of(collection.inputValueCaps.begin(), collection.inputValueCaps.end(),
                       [](const HidValueCaps& caps) { return caps.usagePage == kKeyboardPage; });
}

bool IsSupportedUsbKeyboard(const SysfsHidIds& ids) {
    return ids.bus == kBusUsb && ids.vendor <= UINT16_MAX && ids.product <= UINT16_MAX &&
           IsSupportedKeyboardId(static_cast<uint16_t>(ids.vendor),
                                 static_cast<uint16_t>(ids.product));
}

}  // namespace

bool MentionsKeyboardPage(std::span<const uint8_t> descriptor) {
    constexpr uint8_t kLongItemPrefix = 0xFE;
    constexpr uint8_t kUsagePageItem = 0x04;  // global item, tag 0, size bits cleared
    constexpr uint8_t kItemTypeMask = 0x0C;
    constexpr uint8_t kLocalItem = 0x08;
    constexpr uint8_t kSizeMask = 0x03;
    size_t position = 0;
    while (position < descriptor.size()) {
        const uint8_t prefix = descriptor[position];
        if (prefix == kLongItemPrefix) {
            if (descriptor.size() - position < 3 ||
                descriptor.size() - position - 3 < descriptor[position + 1]) {
                return true;  // cut short
            }
            position += 3u + descriptor[position + 1];
            continue;
        }
        const size_t size = (prefix & kSizeMask) == 3 ? 4 : (prefix & kSizeMask);
        if (descriptor.size() - position - 1 < size) {
            return true;  // the parser refuses this; never let it through
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            value |= static_cast<uint32_t>(descriptor[position + 1 + i]) << (8 * i);
        }
        position += 1 + size;
        const bool usagePage = (prefix & ~kSizeMask) == kUsagePageItem;
        const bool extendedUsage = (prefix & kItemTypeMask) == kLocalItem && size == 4 &&
                                   (prefix >> 4) <= 2;  // Usage, Usage Minimum, Usage Maximum
        if ((usagePage && (value & 0xFFFF) == kKeyboardPage) ||
            (extendedUsage && (value >> 16) == kKeyboardPage)) {
            return true;
        }
    }
    return false;
}

const char* InterfaceRoleName(InterfaceRole role) {
    switch (role) {
        case InterfaceRole::Command:
            return "command";
        case InterfaceRole::Consumer:
            return "consumer";
        case InterfaceRole::None:
            break;
    }
    return "none";
}

InterfaceRole ClassifyInterface(std::span<const uint8_t> descriptor) {
    const HidDescriptorParse parse = ParseReportDescriptor(descriptor);
    if (!parse.ok() || parse.collections.empty()) {
        return InterfaceRole::None;
    }
    const auto& collections = parse.collections;
    if (std::any_of(collections.begin(), collections.end(), CarriesKeyPresses) ||
        MentionsKeyboardPage(descriptor)) {
        return InterfaceRole::None;
    }
    const auto has = [&](uint16_t usagePage, uint16_t usage) {
        return std::any_of(collections.begin(), collections.end(), [&](const auto& collection) {
            return collection.usagePage == usagePage && collection.usage == usage;
        });
    };
    if (has(kCommandUsagePage, kCommandUsage)) {
        return InterfaceRole::Command;
    }
    if (has(kEventUsagePage, kEventUsage)) {
        return InterfaceRole::Consumer;
    }
    return InterfaceRole::None;
}

int RunUdevCheck(const std::filesystem::path& sysRoot, const std::string& devpath,
                 std::ostream& out, std::ostream& err) {
    const std::filesystem::path relative(devpath);
    const bool escapes =
        std::any_of(relative.begin(), relative.end(),
                    [](const std::filesystem::path& part) { return part == ".."; });
    if (!relative.is_absolute() || escapes) {
        err << "'" << devpath << "' is not a device path under /sys (udev's %p)\n";
        return kExitUsage;
    }
    const std::filesystem::path hidDevice = sysRoot / relative.relative_path() / "device";
    const auto uevent = ReadSmallFile(hidDevice / "uevent", kMaxSysfsTextSize);
    if (!uevent) {
        err << "cannot read " << (hidDevice / "uevent").string() << '\n';
        return kExitFailed;
    }
    const std::optional<SysfsHidIds> ids = FindHidIds(*uevent);
    if (!ids) {
        err << (hidDevice / "uevent").string() << " names no HID device (no HID_ID line)\n";
        return kExitFailed;
    }
    InterfaceRole role = InterfaceRole::None;
    if (IsSupportedUsbKeyboard(*ids)) {
        const auto descriptor =
            ReadSmallFile(hidDevice / "report_descriptor", kMaxReportDescriptorSize);
        if (!descriptor) {
            err << "cannot read " << (hidDevice / "report_descriptor").string() << '\n';
            return kExitFailed;
        }
        const std::vector<uint8_t> bytes(descriptor->begin(), descriptor->end());
        role = ClassifyInterface(bytes);
    }
    out << "ZARVIN_INTERFACE=" << InterfaceRoleName(role) << '\n';
    return kExitOk;
}

}  // namespace zarvin::cli
