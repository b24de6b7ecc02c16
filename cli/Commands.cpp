#include "cli/Commands.h"

#include <cstdio>
#include <vector>

#include "cli/DescriptorDescription.h"
#include "cli/KeyboardConnection.h"
#include "device/DeviceImage.h"
#include "device/DeviceInfo.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardIds.h"
#include "keyboard/KeyboardModel.h"
#include "model/LightingEffects.h"
#include "store/AppContext.h"
#include "cli/LanguageMessages.h"
#include "store/LanguageTexts.h"

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

// "command", "event" or "other".
const char* RoleOf(const HidCollectionCaps& collection) {
    if (collection.usagePage == kCommandUsagePage && collection.usage == kCommandUsage) {
        return "command";
    }
    if (collection.usagePage == kEventUsagePage && collection.usage == kEventUsage) {
        return "event";
    }
    return "other";
}

}  // namespace

int RunList(HidNodeSource& source, std::ostream& out, std::ostream& err, OutputForm form) {
    std::vector<HidNodeInfo> nodes;
    if (!source.EnumerateNodes(nodes)) {
        err << "cannot list the HID devices of this machine\n";
        return kExitFailed;
    }
    bool found = false;
    JsonValue interfaces = JsonValue::array();
    for (const HidNodeInfo& node : nodes) {
        if (!IsSupportedKeyboardId(node.vendorId, node.productId)) {
            continue;
        }
        found = true;
        const JsonValue ids{{"vendor", Hex(node.vendorId, 4)}, {"product", Hex(node.productId, 4)}};
        const HidDescriptorParse parse = ParseReportDescriptor(node.reportDescriptor);
        if (!parse.ok()) {
            const std::string path = MakeInterfacePath(node, 1, 0);
            out << (form == OutputForm::Json ? ""
                                              : path + "  unreadable report descriptor: " +
                                                    parse.error + '\n');
            JsonValue entry{{"path", path}};
            entry.update(ids);
            entry["error"] = "unreadable report descriptor: " + parse.error;
            interfaces.push_back(std::move(entry));
            continue;
        }
        const int count = static_cast<int>(parse.collections.size());
        for (int index = 0; index < count; ++index) {
            const HidCollectionCaps& collection = parse.collections[static_cast<size_t>(index)];
            const std::string path = MakeInterfacePath(node, count, index);
            if (form == OutputForm::Text) {
                out << path << "  " << RoleOf(collection) << " interface ("
                    << UsageText(collection.usagePage, collection.usage) << ")\n";
            }
            JsonValue entry{{"path", path}};
            entry.update(ids);
            entry.update(JsonValue{{"role", RoleOf(collection)},
                                   {"usagePage", collection.usagePage},
                                   {"usage", collection.usage}});
            interfaces.push_back(std::move(entry));
        }
    }
    if (!found) {
        err << "no supported keyboard found (looked for USB ids " << SupportedIdsText("and")
            << ")\n";
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        PrintJson(out, {{"interfaces", std::move(interfaces)}});
    }
    return kExitOk;
}

int RunInfo(KeyboardConnection& connection, const AppContext& context, const std::string& label,
            std::ostream& out, std::ostream& err, OutputForm form) {
    DeviceInfo info;
    const int result = ReadDeviceInfo(connection.Link(), info.bytes);
    if (result != CommandResult::Success) {
        err << "cannot read the device information: " << CommandResultText(result) << '\n';
        return kExitFailed;
    }
    const HidAttributes& ids = connection.Device().Attributes();
    const LanguageTexts texts(context.programFolder);
    const auto effectName = [&](int code) {
        return texts.LoadModeText(EffectNameKey(code), CommandLineLanguage());
    };
    if (form == OutputForm::Json) {
        const uint16_t firmware = info.FirmwareVersion();
        JsonValue effects = JsonValue::array();
        for (const uint8_t effect : info.Effects()) {
            effects.push_back({{"code", effect}, {"name", effectName(effect)}});
        }
        JsonValue object{{"vendor", Hex(ids.vendorId, 4)},
                         {"product", Hex(ids.productId, 4)},
                         {"keys", connection.Model().keyCount},
                         {"standIn", !label.empty()},
                         {"interface", connection.Device().DevicePath()},
                         {"firmware", std::to_string(firmware >> 8) + '.' + Hex(firmware & 0xFFu, 2)},
                         {"firmwareCode", firmware},
                         {"activeProfile", ProfileJson(info.ActiveProfile())},
                         {"macroCapacity", info.MacroCapacityBytes()},
                         {"effects", std::move(effects)}};
        PrintJson(out, object);
        return kExitOk;
    }
    out << "keyboard: " << Hex(ids.vendorId, 4) << ':' << Hex(ids.productId, 4) << ", "
        << connection.Model().keyCount << " keys" << (label.empty() ? "" : " " + label) << '\n';
    out << "interface: " << connection.Device().DevicePath() << '\n';
    const uint16_t firmware = info.FirmwareVersion();
    out << "firmware: " << (firmware >> 8) << '.' << Hex(firmware & 0xFFu, 2) << " (0x"
        << Hex(firmware, 4) << ")\n";
    out << "active profile: " << ShownProfile(info.ActiveProfile()) << " (of 1 to " << kProfileCount
        << ")\n";
    out << "macro capacity: " << info.MacroCapacityBytes() << " bytes\n";
    out << "effects:";
    const std::vector<uint8_t> effects = info.Effects();
    for (size_t i = 0; i < effects.size(); ++i) {
        out << (i == 0 ? " " : ", ") << int{effects[i]} << ' ' << effectName(effects[i]);
    }
    out << (effects.empty() ? " none\n" : "\n");
    return kExitOk;
}

int RunProfile(KeyboardConnection& connection, std::optional<int> newProfile, std::ostream& out,
               std::ostream& err, OutputForm form) {
    DeviceImage image;
    if (newProfile) {
        const int result = image.SetActiveProfile(connection.Link(), *newProfile);
        if (result != CommandResult::Success) {
            err << "cannot make profile " << ShownProfile(*newProfile)
                << " active: " << CommandResultText(result) << '\n';
            return kExitFailed;
        }
        if (form == OutputForm::Json) {
            PrintJson(out, ProfileJson(*newProfile));
        }
        return kExitOk;
    }
    int result = CommandResult::Success;
    const int profile = image.GetActiveProfile(connection.Link(), &result);
    if (profile < 0) {
        err << "cannot read the active profile: " << CommandResultText(result) << '\n';
        return kExitFailed;
    }
    if (form == OutputForm::Json) {
        PrintJson(out, ProfileJson(profile));
    } else {
        out << ShownProfile(profile) << '\n';
    }
    return kExitOk;
}

int RunDescribe(HidNodeSource& source, const std::string& path, std::ostream& out,
                std::ostream& err, OutputForm form) {
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
    if (form == OutputForm::Json) {
        PrintJson(out, DescribeDescriptorJson(parse));
    } else {
        out << DescribeDescriptor(parse);
    }
    return kExitOk;
}

}  // namespace zarvin::cli
