#include "cli/Commands.h"

#include <cstdio>
#include <vector>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "cli/DescriptorDescription.h"
#include "cli/KeyboardConnection.h"
#include "cli/LanguageMessages.h"
#include "device/DeviceImage.h"
#include "device/DeviceInfo.h"
#include "device/HidDevice.h"
#include "keyboard/KeyboardIds.h"
#include "keyboard/KeyboardModel.h"
#include "model/LightingEffects.h"
#include "store/AppContext.h"
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
        err << CliText(cli_text::CANNOT_LIST_DEVICES) << '\n';
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
        err << NoKeyboardFound() << '\n';
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
        err << CliFormat(cli_text::CANNOT_READ_DEVICE_INFO, {CommandResultText(result)}) << '\n';
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
    out << CliFormat(cli_text::INFO_KEYBOARD,
                     {Hex(ids.vendorId, 4) + ':' + Hex(ids.productId, 4),
                      std::to_string(connection.Model().keyCount)})
        << (label.empty() ? "" : CliText(cli_text::STAND_IN)) << '\n';
    out << CliFormat(cli_text::INFO_INTERFACE, {connection.Device().DevicePath()}) << '\n';
    const uint16_t firmware = info.FirmwareVersion();
    out << CliFormat(cli_text::INFO_FIRMWARE,
                     {std::to_string(firmware >> 8) + '.' + Hex(firmware & 0xFFu, 2) + " (0x" +
                      Hex(firmware, 4) + ')'})
        << '\n';
    out << CliFormat(cli_text::INFO_ACTIVE_PROFILE, {std::to_string(ShownProfile(info.ActiveProfile())),
                                                     std::to_string(kProfileCount)})
        << '\n';
    out << CliFormat(cli_text::INFO_MACRO_CAPACITY, {std::to_string(info.MacroCapacityBytes())})
        << '\n';
    std::string effectList;
    const std::vector<uint8_t> effects = info.Effects();
    for (size_t i = 0; i < effects.size(); ++i) {
        effectList += (i == 0 ? "" : CliText(cli_text::LIST_COMMA)) + std::to_string(effects[i]) +
                      ' ' + effectName(effects[i]);
    }
    out << CliFormat(cli_text::INFO_EFFECTS,
                     {effects.empty() ? CliText(cli_text::INFO_NO_EFFECTS) : effectList})
        << '\n';
    return kExitOk;
}

int RunProfile(KeyboardConnection& connection, std::optional<int> newProfile, std::ostream& out,
               std::ostream& err, OutputForm form) {
    DeviceImage image;
    if (newProfile) {
        const int result = image.SetActiveProfile(connection.Link(), *newProfile);
        if (result != CommandResult::Success) {
            err << CliFormat(cli_text::CANNOT_MAKE_ACTIVE,
                             {std::to_string(ShownProfile(*newProfile)), CommandResultText(result)})
                << '\n';
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
        err << CliFormat(cli_text::CANNOT_READ_ACTIVE_PROFILE, {CommandResultText(result)}) << '\n';
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
