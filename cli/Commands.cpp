#include "cli/Commands.h"

#include <cstdio>
#include <vector>

#include "cli/DescriptorDescription.h"
#include "cli/KeyboardConnection.h"
#include "device/HidDevice.h"
#include "device/KeyboardIds.h"
#include "model/DeviceImage.h"
#include "model/DeviceInfo.h"
#include "model/KeyboardModel.h"

namespace zarvin::cli {
namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

std::string UsageText(uint16_t usagePage, uint16_t usage) {
    char text[48];
    std::snprintf(text, sizeof text, "usage page 0x%04X usage 0x%04X", usagePage, usage);
    return text;
}

const char* RoleOf(const HidCollectionCaps& collection) {
    if (collection.usagePage == kCommandUsagePage && collection.usage == kCommandUsage) {
        return "command interface";
    }
    if (collection.usagePage == kEventUsagePage && collection.usage == kEventUsage) {
        return "event interface";
    }
    return "other interface";
}

}  // namespace

int RunList(HidNodeSource& source, std::ostream& out, std::ostream& err) {
    std::vector<HidNodeInfo> nodes;
    if (!source.EnumerateNodes(nodes)) {
        err << "cannot list the HID devices of this machine\n";
        return kExitFailed;
    }
    bool found = false;
    for (const HidNodeInfo& node : nodes) {
        if (!IsSupportedKeyboardId(node.vendorId, node.productId)) {
            continue;
        }
        found = true;
        const HidDescriptorParse parse = ParseReportDescriptor(node.reportDescriptor);
        if (!parse.ok()) {
            out << MakeInterfacePath(node, 1, 0)
                << "  unreadable report descriptor: " << parse.error << '\n';
            continue;
        }
        const int count = static_cast<int>(parse.collections.size());
        for (int index = 0; index < count; ++index) {
            const HidCollectionCaps& collection = parse.collections[static_cast<size_t>(index)];
            out << MakeInterfacePath(node, count, index) << "  " << RoleOf(collection) << " ("
                << UsageText(collection.usagePage, collection.usage) << ")\n";
        }
    }
    if (!found) {
        err << "no supported keyboard found (looked for USB ids 0c45:5004 and 320f:5000)\n";
        return kExitFailed;
    }
    return kExitOk;
}

int RunInfo(KeyboardConnection& connection, const std::string& label, std::ostream& out,
            std::ostream& err) {
    DeviceInfo info;
    const int result = ReadDeviceInfo(connection.Link(), info.bytes);
    if (result != CommandResult::Success) {
        err << "cannot read the device information: " << CommandResultText(result) << '\n';
        return kExitFailed;
    }
    const HidAttributes& ids = connection.Device().Attributes();
    out << "keyboard: " << Hex(ids.vendorId, 4) << ':' << Hex(ids.productId, 4) << ", "
        << ModelForIds(ids.vendorId, ids.productId).keyCount << " keys" << (label.empty() ? "" : " " + label) << '\n';
    out << "interface: " << connection.Device().DevicePath() << '\n';
    const uint16_t firmware = info.FirmwareVersion();
    out << "firmware: " << (firmware >> 8) << '.' << Hex(firmware & 0xFFu, 2) << " (0x"
        << Hex(firmware, 4) << ")\n";
    out << "active profile: " << ShownProfile(info.ActiveProfile()) << " (of 1 to " << kProfileCount
        << ")\n";
    out << "macro capacity: " << info.MacroCapacityBytes() << " bytes\n";
    out << "effects:";
    const std::vector<uint8_t> effects = info.Effects();
    for (const uint8_t effect : effects) {
        out << ' ' << int{effect};
    }
    out << (effects.empty() ? " none\n" : "\n");
    return kExitOk;
}

int RunProfile(KeyboardConnection& connection, std::optional<int> newProfile, std::ostream& out,
               std::ostream& err) {
    DeviceImage image;
    if (newProfile) {
        const int result = image.SetActiveProfile(connection.Link(), *newProfile);
        if (result != CommandResult::Success) {
            err << "cannot make profile " << ShownProfile(*newProfile)
                << " active: " << CommandResultText(result) << '\n';
            return kExitFailed;
        }
        return kExitOk;
    }
    int result = CommandResult::Success;
    const int profile = image.GetActiveProfile(connection.Link(), &result);
    if (profile < 0) {
        err << "cannot read the active profile: " << CommandResultText(result) << '\n';
        return kExitFailed;
    }
    out << ShownProfile(profile) << '\n';
    return kExitOk;
}

int RunDescribe(HidNodeSource& source, const std::string& path, std::ostream& out,
                std::ostream& err) {
    const std::string node = path.substr(0, path.find('#'));
    std::vector<uint8_t> descriptor;
    std::vector<HidNodeInfo> nodes;
    bool isNode = false;
    if (source.EnumerateNodes(nodes)) {
        for (HidNodeInfo& candidate : nodes) {
            if (candidate.node == node) {
                descriptor = std::move(candidate.reportDescriptor);
                isNode = true;
                break;
            }
        }
    }
    std::string error;
    if (!isNode && !LoadDescriptorFile(node, descriptor, error)) {
        err << error << '\n';
        return kExitFailed;
    }
    const HidDescriptorParse parse = ParseReportDescriptor(descriptor);
    if (!parse.ok()) {
        err << node << ": malformed report descriptor: " << parse.error << '\n';
        return kExitFailed;
    }
    out << DescribeDescriptor(parse);
    return kExitOk;
}

}  // namespace zarvin::cli
