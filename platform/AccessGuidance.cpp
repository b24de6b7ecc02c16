#include "platform/AccessGuidance.h"

#include <system_error>

namespace zarvin {

std::filesystem::path InstalledUdevRuleFile() {
    return ZARVIN_UDEV_RULE_FILE;
}

std::string AccessRemedy(const std::filesystem::path& ruleFile) {
    std::error_code error;
    const bool installed = std::filesystem::exists(ruleFile, error);
    std::string text;
    if (installed) {
        text = "The udev rule " + ruleFile.string() +
               " gives the user logged in at this computer access to the keyboard (a remote "
               "login gets none). If the rule came after the keyboard was plugged in, apply it "
               "without a reboot: run\n";
    } else {
        text =
            "The udev rule that gives the logged-in user access to the keyboard is not "
            "installed at " +
            ruleFile.string() +
            ": install the zarvin package, or copy 70-zarvin.rules there. Then apply it "
            "without a reboot: run\n";
    }
    text +=
        "  sudo udevadm control --reload\n"
        "  sudo udevadm trigger --subsystem-match=hidraw\n"
        "or unplug the keyboard and plug it in again.";
    return text;
}

std::string AccessGuidance(const std::string& deviceNode, const std::filesystem::path& ruleFile) {
    return "No read/write access to " + deviceNode + ".\n" + AccessRemedy(ruleFile);
}

}  // namespace zarvin
