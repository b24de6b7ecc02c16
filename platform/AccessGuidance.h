#pragma once

// What to tell the user when the keyboard's device node refuses us for lack of permission: the
// node, the udev rule that grants access, and how to apply it without a reboot. Shared by
// zarvinctl and the window.

#include <filesystem>
#include <string>

namespace zarvin {

// Where this build installs its udev rule.
std::filesystem::path InstalledUdevRuleFile();

// What brings access: the rule, whether `ruleFile` is there, and the commands that apply it.
// Several lines, without a final line break.
std::string AccessRemedy(const std::filesystem::path& ruleFile = InstalledUdevRuleFile());

// The whole message for the window: the node, then the remedy.
std::string AccessGuidance(const std::string& deviceNode,
                           const std::filesystem::path& ruleFile = InstalledUdevRuleFile());

}  // namespace zarvin
