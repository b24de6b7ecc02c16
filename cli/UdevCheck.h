#pragma once

// The helper the udev rule imports: which of the keyboard's interfaces a hidraw node is, told
// from its report descriptor, so that the rule grants access to the command and consumer-control
// interfaces and never to one that carries the user's key presses.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <span>
#include <string>

namespace zarvin::cli {

enum class InterfaceRole { Command, Consumer, None };

// "command", "consumer" or "none", the values of ZARVIN_INTERFACE.
const char* InterfaceRoleName(InterfaceRole role);

// An interface that could report key presses (a keyboard or keypad collection, or any mention
// of the keyboard usage page) is None whatever else it holds; otherwise one with the
// command collection is Command, one with the consumer-control collection Consumer. A malformed
// descriptor is None.
InterfaceRole ClassifyInterface(std::span<const uint8_t> descriptor);

// The parser's capabilities name one page per field, and the kernel may give a short usage
// the page in force at the Usage item rather than at the main item; either way keyboard usages
// can hide behind another page. So any mention of the keyboard page (a Usage Page item, or a
// 4-byte usage carrying it) counts. Any bytes may be given: an item cut short counts as a
// mention, so a damaged descriptor never passes.
bool MentionsKeyboardPage(std::span<const uint8_t> descriptor);

// `devpath` is the node's path under sysfs as udev's %p gives it
// ("/devices/.../0003:0C45:5004.0001/hidraw/hidraw3"). Prints "ZARVIN_INTERFACE=ROLE" for udev's
// IMPORT{program}; a device other than the two keyboards is "none". A node that cannot be read
// is an error (exit status 1) and prints nothing on `out`.
int RunUdevCheck(const std::filesystem::path& sysRoot, const std::string& devpath,
                 std::ostream& out, std::ostream& err);

}  // namespace zarvin::cli
