#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/UdevCheck.h"
#include "device/HidReportDescriptor.h"
#include "sim/SimReportDescriptors.h"
#include "support/BootKeyboardDescriptor.h"
#include "support/TempFolder.h"

namespace zarvin::cli {
namespace {

std::vector<uint8_t> Joined(std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A vendor collection whose input report is a bitmap of keyboard keys, as keyboards with
// n-key rollover send them: key presses without a keyboard collection.
const std::vector<uint8_t> kHiddenKeyBitmap = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x05,        //   Report Id (5)
    0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
    0x19, 0x00,        //   Usage Minimum (0)
    0x29, 0x67,        //   Usage Maximum (0x67)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x68,        //   Report Count (104)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Key presses behind a vendor usage: an array field whose first usage is a vendor one and whose
// other usages are keyboard keys, written as 4-byte usages.
const std::vector<uint8_t> kKeysBehindVendorUsage = {
    0x06, 0x1C, 0xFF,              // Usage Page (0xFF1C)
    0x09, 0x93,                    // Usage (0x93)
    0xA1, 0x01,                    // Collection (Application)
    0x85, 0x06,                    //   Report Id (6)
    0x0B, 0x01, 0x00, 0x1C, 0xFF,  //   Usage (0xFF1C:0001)
    0x1B, 0x00, 0x00, 0x07, 0x00,  //   Usage Minimum (Keyboard:0000)
    0x2B, 0x67, 0x00, 0x07, 0x00,  //   Usage Maximum (Keyboard:0067)
    0x15, 0x00,                    //   Logical Minimum (0)
    0x25, 0x68,                    //   Logical Maximum (104)
    0x75, 0x08,                    //   Report Size (8)
    0x95, 0x06,                    //   Report Count (6)
    0x81, 0x00,                    //   Input (Data, Array)
    0xC0,                          // End Collection
};

// A short usage read with the Usage Page in force at its Usage item, as the kernel reads it: the
// first field is the key A, though the page at the Input item is a vendor one.
const std::vector<uint8_t> kKeyBeforeVendorPage = {
    0x06, 0x1C, 0xFF,  // Usage Page (0xFF1C)
    0x09, 0x93,        // Usage (0x93)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x06,        //   Report Id (6)
    0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
    0x09, 0x04,        //   Usage (A)
    0x06, 0x1C, 0xFF,  //   Usage Page (0xFF1C)
    0x09, 0x01,        //   Usage (1)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// The boot keyboard with a report id, so that it can share a descriptor with others.
std::vector<uint8_t> NumberedBootKeyboard() {
    std::vector<uint8_t> descriptor = test_support::kBootKeyboard;
    const std::vector<uint8_t> reportId = {0x85, 0x01};
    descriptor.insert(descriptor.begin() + 6, reportId.begin(), reportId.end());
    return descriptor;
}

TEST(UdevCheck, TellsTheInterfacesApartByTheirDescriptor) {
    struct Case {
        const char* name;
        std::vector<uint8_t> descriptor;
        InterfaceRole role;
    };
    const Case cases[] = {
        {"command", sim::CommandReportDescriptor(), InterfaceRole::Command},
        {"consumer", sim::EventReportDescriptor(), InterfaceRole::Consumer},
        {"boot keyboard", test_support::kBootKeyboard, InterfaceRole::None},
        {"consumer with a key bitmap", Joined(sim::EventReportDescriptor(), kHiddenKeyBitmap),
         InterfaceRole::None},
        {"command with a keyboard", Joined(sim::CommandReportDescriptor(), NumberedBootKeyboard()),
         InterfaceRole::None},
        {"command with keys behind a vendor usage",
         Joined(sim::CommandReportDescriptor(), kKeysBehindVendorUsage), InterfaceRole::None},
        {"command with a key before a vendor page",
         Joined(sim::CommandReportDescriptor(), kKeyBeforeVendorPage), InterfaceRole::None},
        {"empty", {}, InterfaceRole::None},
        {"malformed", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01}, InterfaceRole::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InterfaceRoleName(ClassifyInterface(c.descriptor)),
                  std::string(InterfaceRoleName(c.role)))
            << c.name;
    }
    // The mixed fixtures must be well formed, or the cases above would pass for the wrong reason.
    EXPECT_TRUE(ParseReportDescriptor(Joined(sim::EventReportDescriptor(), kHiddenKeyBitmap)).ok());
    EXPECT_TRUE(
        ParseReportDescriptor(Joined(sim::CommandReportDescriptor(), NumberedBootKeyboard())).ok());
    for (const auto& hidden : {kKeysBehindVendorUsage, kKeyBeforeVendorPage}) {
        EXPECT_TRUE(ParseReportDescriptor(Joined(sim::CommandReportDescriptor(), hidden)).ok());
    }
}

// The walk over the items takes any bytes: an item cut short is a mention, so that nothing
// damaged is ever granted.
TEST(UdevCheck, AnyItemCutShortCountsAsAMentionOfTheKeyboardPage) {
    struct Case {
        const char* name;
        std::vector<uint8_t> descriptor;
        bool mentions;
    };
    const Case cases[] = {
        {"command", sim::CommandReportDescriptor(), false},
        {"keyboard page", {0x05, 0x07}, true},
        {"4-byte usage on the keyboard page", {0x0B, 0x04, 0x00, 0x07, 0x00}, true},
        {"short item cut short", {0x06, 0x00}, true},
        {"long item", {0xFE, 0x02, 0x10, 0xAA, 0xBB}, false},
        {"long item cut short", {0xFE, 0x04, 0x10, 0xAA, 0xBB}, true},
        {"long item without its tag", {0xFE, 0x00}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MentionsKeyboardPage(c.descriptor), c.mentions) << c.name;
    }
}

// A sysfs tree with one hidraw node, as udev's %p names it.
class FakeSysfs : public ::testing::Test {
protected:
    static constexpr const char* kDevpath =
        "/devices/virtual/hid/0003:0C45:5004.0001/hidraw/hidraw3";

    void AddNode(const std::string& hidId, const std::vector<uint8_t>& descriptor) {
        const std::filesystem::path device =
            root_.Path() / std::string(kDevpath).substr(1) / "device";
        std::filesystem::create_directories(device);
        root_.Write(std::filesystem::relative(device / "uevent", root_.Path()).string(),
                    "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Keyboard\n");
        root_.Write(std::filesystem::relative(device / "report_descriptor", root_.Path()).string(),
                    std::string(descriptor.begin(), descriptor.end()));
    }

    int Check(const std::string& devpath) {
        out_.str("");
        err_.str("");
        return RunUdevCheck(root_.Path(), devpath, out_, err_);
    }

    test::TempFolder root_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(FakeSysfs, PrintsTheRoleOfEitherKeyboardsInterface) {
    AddNode("0003:00000C45:00005004", sim::CommandReportDescriptor());
    EXPECT_EQ(Check(kDevpath), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "ZARVIN_INTERFACE=command\n");

    AddNode("0003:0000320F:00005000", sim::EventReportDescriptor());
    EXPECT_EQ(Check(kDevpath), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "ZARVIN_INTERFACE=consumer\n");
}

TEST_F(FakeSysfs, OtherDevicesAreNoneEvenWithTheSameDescriptor) {
    for (const char* hidId : {"0003:00000C45:00005005", "0005:00000C45:00005004"}) {
        AddNode(hidId, sim::CommandReportDescriptor());
        EXPECT_EQ(Check(kDevpath), kExitOk) << hidId;
        EXPECT_EQ(out_.str(), "ZARVIN_INTERFACE=none\n") << hidId;
    }
}

TEST_F(FakeSysfs, UnreadableNodesAndOddPathsAreErrorsWithoutOutput) {
    EXPECT_EQ(Check(kDevpath), kExitFailed);
    EXPECT_NE(err_.str().find("uevent"), std::string::npos) << err_.str();

    AddNode("garbage", sim::CommandReportDescriptor());
    EXPECT_EQ(Check(kDevpath), kExitFailed);
    EXPECT_NE(err_.str().find("HID_ID"), std::string::npos) << err_.str();

    for (const char* path : {"devices/relative", "/devices/../../etc"}) {
        EXPECT_EQ(Check(path), kExitUsage) << path;
        EXPECT_EQ(out_.str(), "") << path;
    }
}

}  // namespace
}  // namespace zarvin::cli
