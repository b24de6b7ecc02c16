// The udev helper runs as root on what a device says of itself: hands arbitrary bytes to the
// classifier of report descriptors, to its walk over the descriptor's items and to the reader
// of the HID ids in a uevent file, and checks the classifier's promise: an interface it grants
// access to (command or consumer control) has a descriptor the parser accepts, no collection
// that reports key presses and no mention of the keyboard page.
//
// Input: the descriptor's bytes, also read as the text of a uevent file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "cli/UdevCheck.h"
#include "device/HidReportDescriptor.h"
#include "FuzzFiles.h"
#include "platform/SysfsHidAttributes.h"

namespace {

using namespace zarvin;
using fuzz::Require;

constexpr uint16_t kGenericDesktopPage = 0x01;
constexpr uint16_t kKeyboardUsage = 0x06;
constexpr uint16_t kKeypadUsage = 0x07;
constexpr uint16_t kKeyboardPage = 0x07;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> descriptor(data, size);
    const cli::InterfaceRole role = cli::ClassifyInterface(descriptor);
    const bool mentionsKeyboardPage = cli::MentionsKeyboardPage(descriptor);
    if (role != cli::InterfaceRole::None) {
        Require(!mentionsKeyboardPage);
        const HidDescriptorParse parse = ParseReportDescriptor(descriptor);
        Require(parse.ok());
        for (const HidCollectionCaps& caps : parse.collections) {
            Require(!(caps.usagePage == kGenericDesktopPage &&
                      (caps.usage == kKeyboardUsage || caps.usage == kKeypadUsage)));
            for (const auto& button : caps.inputButtonCaps) {
                Require(button.usagePage != kKeyboardPage);
            }
            for (const auto& value : caps.inputValueCaps) {
                Require(value.usagePage != kKeyboardPage);
            }
        }
    }
    const std::string_view uevent(reinterpret_cast<const char*>(data), size);
    if (const auto ids = FindHidIds(uevent)) {
        Require(uevent.find("HID_ID=") != std::string_view::npos);
    }
    return 0;
}
