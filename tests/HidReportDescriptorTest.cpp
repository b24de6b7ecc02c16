#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/DescriptorDescription.h"
#include "device/HidReportDescriptor.h"
#include "sim/SimReportDescriptors.h"
#include "support/BootKeyboardDescriptor.h"

namespace zarvin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Bytes = std::vector<uint8_t>;

using test_support::kBootKeyboard;

// A media-key interface: one 16-bit consumer usage per report.
const Bytes kConsumerControl = {
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x03,  //   Logical Maximum (1023)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x03,  //   Usage Maximum (1023)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x00,        //   Input (Data, Array, Absolute)
    0xC0,              // End Collection
};

// N-key rollover: one bit per key code 0-0x77 in report 6.
const Bytes kNkroKeyboard = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x85, 0x06,  //   Report ID (6)
    0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x77,  //   Usage Maximum (0x77)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x78,  //   Report Count (120)
    0x81, 0x02,  //   Input (Data, Variable, Absolute)
    0xC0,        // End Collection
};

// A wheel mouse with a hat, signed relative axes and a physical range for scaling.
const Bytes kMouse = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)              link collection 1
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x03,        //     Usage Maximum (3)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x95, 0x03,        //     Report Count (3)
    0x75, 0x01,        //     Report Size (1)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)  buttons 1-3
    0x95, 0x01,        //     Report Count (1)
    0x75, 0x05,        //     Report Size (5)
    0x81, 0x03,        //     Input (Constant)                  padding
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x09, 0x38,        //     Usage (Wheel)
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x36, 0x0A, 0xFB,  //     Physical Minimum (-1270)
    0x46, 0xF6, 0x04,  //     Physical Maximum (1270)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x03,        //     Report Count (3)
    0x81, 0x06,        //     Input (Data, Variable, Relative)  X, Y, wheel
    0x09, 0x39,        //     Usage (Hat Switch)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x07,        //     Logical Maximum (7)
    0x35, 0x00,        //     Physical Minimum (0)
    0x46, 0x3B, 0x01,  //     Physical Maximum (315)
    0x65, 0x14,        //     Unit (degrees)
    0x75, 0x04,        //     Report Size (4)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x42,        //     Input (Data, Variable, Absolute, Null State)  8 = centred
    0x81, 0x03,        //     Input (Constant)                  padding
    0xC0,              //   End Collection
    0xC0,              // End Collection
};

// A keyboard and a consumer interface behind one descriptor, with reports 1 to 5.
const Bytes kTwoCollections = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
    0x19, 0xE0,        //   Usage Minimum (Left Control)
    0x29, 0xE7,        //   Usage Maximum (Right GUI)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)   report 1: modifiers
    0x95, 0x06,        //   Report Count (6)
    0x75, 0x08,        //   Report Size (8)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x00,  //   Usage Maximum (255)
    0x81, 0x00,        //   Input (Data, Array, Absolute)      report 1: six key slots
    0x85, 0x02,        //   Report ID (2)
    0x05, 0x08,        //   Usage Page (LEDs)
    0x19, 0x01,        //   Usage Minimum (Num Lock)
    0x29, 0x05,        //   Usage Maximum (Kana)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x05,        //   Report Count (5)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)  report 2: LEDs
    0x95, 0x03,        //   Report Count (3)
    0x91, 0x01,        //   Output (Constant)                  padding
    0xC0,              // End Collection
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x15, 0x01,        //   Logical Minimum (1)
    0x25, 0x04,        //   Logical Maximum (4)
    0x09, 0xE9,        //   Usage (Volume Increment)           value 1
    0x09, 0xEA,        //   Usage (Volume Decrement)           value 2
    0x09, 0xE2,        //   Usage (Mute)                       value 3
    0x09, 0xCD,        //   Usage (Play/Pause)                 value 4
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x03,        //   Report Count (3)
    0x81, 0x00,        //   Input (Data, Array, Absolute)      report 3: 0 = no key
    0x85, 0x04,        //   Report ID (4)
    0x06, 0x00, 0xFF,  //   Usage Page (Vendor 0xFF00)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0xFF,        //   Logical Maximum (255: one byte, unsigned as the minimum is 0)
    0x95, 0x01,        //   Report Count (1)
    0x09, 0x20,        //   Usage (0x20)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)   report 4: no physical range
    0x09, 0x21,        //   Usage (0x21)
    0x35, 0x64,        //   Physical Minimum (100)
    0x45, 0x00,        //   Physical Maximum (0)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)   report 4: reversed physical
    0x85, 0x05,        //   Report ID (5)
    0x09, 0x30,        //   Usage (0x30)
    0x95, 0x03,        //   Report Count (3)
    0xB1, 0x02,        //   Feature (Data, Variable, Absolute) report 5
    0xC0,              // End Collection
};


// How usages spread over fields: a range, a short list that repeats its last usage, a 4-byte
// usage naming its own page, Push/Pop and a long item.
const Bytes kUsageAssignment = {
    0x06, 0x00, 0xFF,              // Usage Page (Vendor 0xFF00)
    0x09, 0x01,                    // Usage (1)
    0xA1, 0x01,                    // Collection (Application)
    0x15, 0x00,                    //   Logical Minimum (0)
    0x26, 0xFF, 0x00,              //   Logical Maximum (255)
    0x75, 0x08,                    //   Report Size (8)
    0x19, 0x03,                    //   Usage Minimum (3)
    0x29, 0x07,                    //   Usage Maximum (7)
    0x95, 0x05,                    //   Report Count (5)
    0x81, 0x02,                    //   Input (Data, Variable, Absolute)  usages 3-7
    0xA4,                          //   Push
    0x75, 0x10,                    //   Report Size (16)
    0x09, 0x10,                    //   Usage (0x10)
    0x09, 0x11,                    //   Usage (0x11)
    0x95, 0x03,                    //   Report Count (3)
    0x81, 0x02,                    //   Input (Data, Variable, Absolute)  0x10, 0x11, 0x11
    0xB4,                          //   Pop: 8-bit fields again
    0xFE, 0x02, 0x00, 0xAA, 0xBB,  //   long item, skipped
    0x0B, 0x38, 0x02, 0x0C, 0x00,  //   Usage (Consumer AC Pan, as 0x000C0238)
    0x95, 0x01,                    //   Report Count (1)
    0x81, 0x06,                    //   Input (Data, Variable, Relative)
    0xC0,                          // End Collection
};

HidCollectionCaps OnlyCollection(const Bytes& descriptor) {
    const HidDescriptorParse parse = ParseReportDescriptor(descriptor);
    EXPECT_TRUE(parse.ok()) << parse.error;
    EXPECT_EQ(parse.collections.size(), 1u);
    return parse.collections.empty() ? HidCollectionCaps{} : parse.collections.front();
}

TEST(BootKeyboard, HasWindowsLengthsAndOneBitmapAndOneArrayCapability) {
    const HidCollectionCaps caps = OnlyCollection(kBootKeyboard);
    EXPECT_EQ(caps.usagePage, 0x01);
    EXPECT_EQ(caps.usage, 0x06);
    EXPECT_EQ(caps.inputReportByteLength, 9);
    EXPECT_EQ(caps.outputReportByteLength, 2);
    EXPECT_EQ(caps.featureReportByteLength, 0);
    EXPECT_FALSE(caps.usesReportIds);
    EXPECT_THAT(caps.inputReportIds, ElementsAre(0));
    EXPECT_TRUE(caps.inputValueCaps.empty());

    ASSERT_EQ(caps.inputButtonCaps.size(), 2u);
    const HidButtonCaps& modifiers = caps.inputButtonCaps[0];
    EXPECT_EQ(modifiers.usagePage, 0x07);
    EXPECT_TRUE(modifiers.isRange);
    EXPECT_FALSE(modifiers.isArray);
    EXPECT_EQ(modifiers.usageMin, 0xE0);
    EXPECT_EQ(modifiers.usageMax, 0xE7);
    EXPECT_EQ(modifiers.bitOffset, 0u);
    EXPECT_EQ(modifiers.reportCount, 8);

    const HidButtonCaps& keys = caps.inputButtonCaps[1];
    EXPECT_TRUE(keys.isArray);
    EXPECT_EQ(keys.usageMin, 0x00);
    EXPECT_EQ(keys.usageMax, 0x65);
    EXPECT_EQ(keys.bitOffset, 16u);  // after the modifiers and the reserved byte
    EXPECT_EQ(keys.bitSize, 8);
    EXPECT_EQ(keys.reportCount, 6);
    EXPECT_EQ(keys.logicalMax, 101);

    EXPECT_EQ(MaxUsageListLength(caps, 0x07), 8u + 6u);
    EXPECT_EQ(MaxUsageListLength(caps, 0), 8u + 6u);
    EXPECT_EQ(MaxUsageListLength(caps, 0x08), 0u);  // the LEDs are output only
}

TEST(BootKeyboard, ShiftAndAReadAsLeftShiftThenA) {
    const HidCollectionCaps caps = OnlyCollection(kBootKeyboard);
    const Bytes report = {0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
    std::vector<uint16_t> usages;
    EXPECT_EQ(GetUsages(caps, 0x07, report, usages, 14), HidStatus::Success);
    EXPECT_THAT(usages, ElementsAre(0xE1, 0x04));
}

TEST(BootKeyboard, RejectsReportsThatDoNotFit) {
    const HidCollectionCaps caps = OnlyCollection(kBootKeyboard);
    const Bytes shiftA = {0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
    struct Case {
        const char* name;
        Bytes report;
        uint16_t page;
        uint32_t maxCount;
        HidStatus status;
        std::vector<uint16_t> usages;
    };
    const std::vector<Case> cases = {
        {"one byte short",
         Bytes(shiftA.begin(), shiftA.end() - 1),
         0x07,
         14,
         HidStatus::InvalidReportLength,
         {}},
        {"empty report", {}, 0x07, 14, HidStatus::InvalidReportLength, {}},
        {"report id on a device without ids",
         {0x01, 0x02, 0x00, 0x04, 0, 0, 0, 0, 0},
         0x07,
         14,
         HidStatus::IncompatibleReportId,
         {}},
        {"page without buttons", shiftA, 0x09, 14, HidStatus::UsageNotFound, {}},
        {"room for one usage", shiftA, 0x07, 1, HidStatus::BufferTooSmall, {0xE1}},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> usages = {0xFFFF};
        EXPECT_EQ(GetUsages(caps, c.page, c.report, usages, c.maxCount), c.status) << c.name;
        EXPECT_EQ(usages, c.usages) << c.name;
    }
}

TEST(ConsumerControl, ReadsTheSixteenBitUsageOfItsReport) {
    const HidCollectionCaps caps = OnlyCollection(kConsumerControl);
    EXPECT_TRUE(caps.usesReportIds);
    EXPECT_THAT(caps.inputReportIds, ElementsAre(3));
    EXPECT_EQ(caps.inputReportByteLength, 3);
    ASSERT_EQ(caps.inputButtonCaps.size(), 1u);
    EXPECT_EQ(caps.inputButtonCaps[0].reportId, 3);
    EXPECT_EQ(caps.inputButtonCaps[0].usageMax, 0x3FF);
    EXPECT_EQ(MaxUsageListLength(caps, 0x0C), 1u);

    std::vector<uint16_t> usages;
    EXPECT_EQ(GetUsages(caps, 0x0C, Bytes{0x03, 0xE9, 0x00}, usages, 1), HidStatus::Success);
    EXPECT_THAT(usages, ElementsAre(0xE9));  // Volume Increment
    EXPECT_EQ(GetUsages(caps, 0x0C, Bytes{0x03, 0x00, 0x00}, usages, 1), HidStatus::Success);
    EXPECT_TRUE(usages.empty());  // released
    EXPECT_EQ(GetUsages(caps, 0x0C, Bytes{0x02, 0xE9, 0x00}, usages, 1),
              HidStatus::IncompatibleReportId);
}

TEST(NkroKeyboard, ListsEveryKeyWhoseBitIsSet) {
    const HidCollectionCaps caps = OnlyCollection(kNkroKeyboard);
    EXPECT_EQ(caps.inputReportByteLength, 16);
    ASSERT_EQ(caps.inputButtonCaps.size(), 1u);
    EXPECT_EQ(caps.inputButtonCaps[0].reportCount, 120);
    EXPECT_EQ(MaxUsageListLength(caps, 0x07), 120u);

    Bytes report(16, 0);
    report[0] = 0x06;
    report[1] = 0x01 | 0x10;  // usage 0 (no key) and 0x04 (A)
    report[4] = 0x20;         // 0x1D (Z)
    report[15] = 0x80;        // 0x77, the last key
    std::vector<uint16_t> usages;
    EXPECT_EQ(GetUsages(caps, 0x07, report, usages, 120), HidStatus::Success);
    EXPECT_THAT(usages, ElementsAre(0x04, 0x1D, 0x77));
}

TEST(Mouse, NestedPhysicalCollectionIsLinkCollectionOne) {
    const HidCollectionCaps caps = OnlyCollection(kMouse);
    EXPECT_EQ(caps.inputReportByteLength, 6);
    EXPECT_EQ(caps.numberLinkCollectionNodes, 2);
    ASSERT_EQ(caps.inputButtonCaps.size(), 1u);
    EXPECT_EQ(caps.inputButtonCaps[0].linkCollection, 1);
    EXPECT_EQ(caps.inputButtonCaps[0].usagePage, 0x09);

    ASSERT_EQ(caps.inputValueCaps.size(), 4u);
    const uint16_t usages[] = {0x30, 0x31, 0x38};
    for (size_t i = 0; i < 3; ++i) {
        const HidValueCaps& axis = caps.inputValueCaps[i];
        EXPECT_EQ(axis.usageMin, usages[i]);
        EXPECT_FALSE(axis.isRange);
        EXPECT_EQ(axis.bitOffset, 8 + 8 * i);
        EXPECT_EQ(axis.reportCount, 1);
        EXPECT_FALSE(axis.isAbsolute);
        EXPECT_EQ(axis.logicalMin, -127);
        EXPECT_EQ(axis.physicalMin, -1270);
        EXPECT_EQ(axis.physicalMax, 1270);
        EXPECT_EQ(axis.linkCollection, 1);
    }
    EXPECT_TRUE(caps.inputValueCaps[3].hasNull);
    EXPECT_EQ(caps.inputValueCaps[3].bitOffset, 32u);

    std::vector<uint16_t> buttons;
    EXPECT_EQ(GetUsages(caps, 0x09, Bytes{0x00, 0x05, 0, 0, 0, 0}, buttons, 3), HidStatus::Success);
    EXPECT_THAT(buttons, ElementsAre(1, 3));
}

TEST(Mouse, ScalesSignedValuesOntoThePhysicalRange) {
    const HidCollectionCaps caps = OnlyCollection(kMouse);
    struct Case {
        uint16_t usage;
        uint8_t byteIndex;
        uint8_t raw;
        HidStatus status;
        int32_t scaled;
    };
    const Case cases[] = {
        {0x30, 2, 0xF6, HidStatus::Success, -100},  // -10 of -127..127 onto -1270..1270
        {0x30, 2, 0x81, HidStatus::Success, -1270},
        {0x30, 2, 0x00, HidStatus::Success, 0},
        {0x31, 3, 0x7F, HidStatus::Success, 1270},
        {0x38, 4, 0x80, HidStatus::ValueOutOfRange, 0},  // -128 is below the logical minimum
        {0x39, 5, 0x02, HidStatus::Success, 90},         // hat 2 of 0..7 onto 0..315 degrees
        {0x39, 5, 0x08, HidStatus::Null, 0},             // centred
    };
    for (const Case& c : cases) {
        Bytes report(6, 0);
        report[c.byteIndex] = c.raw;
        uint32_t raw = 0;
        EXPECT_EQ(GetUsageValue(caps, 0x01, c.usage, report, raw), HidStatus::Success);
        EXPECT_EQ(raw, c.raw) << "raw values are the field's unsigned bits";
        int32_t scaled = -1;
        EXPECT_EQ(GetScaledUsageValue(caps, 0x01, c.usage, report, scaled), c.status)
            << "usage " << c.usage << " raw " << int{c.raw};
        if (c.status == HidStatus::Success) {
            EXPECT_EQ(scaled, c.scaled) << "usage " << c.usage << " raw " << int{c.raw};
        }
    }
}

TEST(TwoCollections, EachCollectionCountsItsOwnReports) {
    const HidDescriptorParse parse = ParseReportDescriptor(kTwoCollections);
    ASSERT_TRUE(parse.ok()) << parse.error;
    ASSERT_EQ(parse.collections.size(), 2u);
    const HidCollectionCaps& keyboard = parse.collections[0];
    const HidCollectionCaps& consumer = parse.collections[1];
    EXPECT_EQ(keyboard.inputReportByteLength, 8);
    EXPECT_EQ(keyboard.outputReportByteLength, 2);
    EXPECT_EQ(keyboard.featureReportByteLength, 0);
    EXPECT_THAT(keyboard.inputReportIds, ElementsAre(1));
    EXPECT_EQ(consumer.usagePage, 0x0C);
    EXPECT_EQ(consumer.inputReportByteLength, 4);  // report 3 is longer than report 4
    EXPECT_EQ(consumer.outputReportByteLength, 0);
    EXPECT_EQ(consumer.featureReportByteLength, 4);
    EXPECT_TRUE(consumer.usesReportIds);
    EXPECT_THAT(consumer.inputReportIds, ElementsAre(3, 4));

    std::vector<uint16_t> usages;
    EXPECT_EQ(GetUsages(keyboard, 0x07, Bytes{0x01, 0x02, 0x04, 0, 0, 0, 0, 0}, usages, 14),
              HidStatus::Success);
    EXPECT_THAT(usages, ElementsAre(0xE1, 0x04));

    // A usage list selects by position: value 3 is the third usage; 0 and 5 are outside 1..4.
    EXPECT_EQ(GetUsages(consumer, 0x0C, Bytes{0x03, 0x03, 0x00, 0x05}, usages, 3),
              HidStatus::Success);
    EXPECT_THAT(usages, ElementsAre(0xE2));
    EXPECT_EQ(GetUsages(consumer, 0x0C, Bytes{0x04, 0x03, 0x00, 0x00}, usages, 3),
              HidStatus::IncompatibleReportId);

    const Bytes vendorReport = {0x04, 0xC8, 0x32, 0x00};
    uint32_t raw = 0;
    int32_t scaled = 0;
    EXPECT_EQ(GetUsageValue(consumer, 0xFF00, 0x20, vendorReport, raw), HidStatus::Success);
    EXPECT_EQ(raw, 200u);
    EXPECT_EQ(GetScaledUsageValue(consumer, 0xFF00, 0x20, vendorReport, scaled),
              HidStatus::Success);
    EXPECT_EQ(scaled, 200) << "no physical range scales onto the logical one";
    EXPECT_EQ(GetUsageValue(consumer, 0xFF00, 0x21, vendorReport, raw), HidStatus::Success);
    EXPECT_EQ(raw, 0x32u);
    EXPECT_EQ(GetScaledUsageValue(consumer, 0xFF00, 0x21, vendorReport, scaled),
              HidStatus::BadLogPhyValues);
    EXPECT_EQ(GetUsageValue(consumer, 0xFF00, 0x20, Bytes{0x03, 0, 0, 0}, raw),
              HidStatus::IncompatibleReportId);
    EXPECT_EQ(GetUsageValue(consumer, 0xFF00, 0x22, vendorReport, raw), HidStatus::UsageNotFound);
}

TEST(TwoCollections, DescribesEachCollectionAndItsInputFields) {
    EXPECT_EQ(DescribeDescriptor(ParseReportDescriptor(kTwoCollections)),
              "collection 1: usage page 0x0001 usage 0x0006 input 8 output 2 feature 0\n"
              "  button page 0x0007 usage 0x00E0..0x00E7 report 1 bit 0 size 1x8 logical 0..1 "
              "variable\n"
              "  button page 0x0007 usage 0x0000..0x00FF report 1 bit 8 size 8x6 logical 0..255 "
              "array\n"
              "collection 2: usage page 0x000C usage 0x0001 input 4 output 0 feature 4\n"
              "  button page 0x000C usage 0x00CD..0x00EA report 3 bit 0 size 8x3 logical 1..4 "
              "array\n"
              "  value page 0xFF00 usage 0x0020 report 4 bit 0 size 8x1 logical 0..255 "
              "variable\n"
              "  value page 0xFF00 usage 0x0021 report 4 bit 8 size 8x1 logical 0..255 "
              "variable\n");
}

TEST(CommandInterface, SixtyThreeDataBytesAfterReportIdFour) {
    const HidCollectionCaps caps = OnlyCollection(sim::CommandReportDescriptor());
    EXPECT_EQ(caps.usagePage, 0xFF1C);
    EXPECT_EQ(caps.usage, 0x92);
    EXPECT_EQ(caps.inputReportByteLength, 64);
    EXPECT_EQ(caps.outputReportByteLength, 64);
    EXPECT_EQ(caps.featureReportByteLength, 0);
    EXPECT_TRUE(caps.inputButtonCaps.empty());
    ASSERT_EQ(caps.inputValueCaps.size(), 1u);
    EXPECT_EQ(caps.inputValueCaps[0].reportId, 4);
    EXPECT_EQ(caps.inputValueCaps[0].reportCount, 63);

    Bytes padded = sim::CommandReportDescriptor();
    padded.insert(padded.end(), {0x00, 0x00});  // zero padding reads as undefined main items
    EXPECT_EQ(OnlyCollection(padded).inputReportByteLength, 64);

    Bytes reply(64, 0);
    reply[0] = 0x04;
    reply[1] = 0xAB;
    uint32_t value = 0;
    EXPECT_EQ(GetUsageValue(caps, 0xFF1C, 0x01, reply, value), HidStatus::Success);
    EXPECT_EQ(value, 0xABu);
}

TEST(UsageAssignment, RangesListsAndExtendedUsagesBecomeValueCapabilities) {
    const HidCollectionCaps caps = OnlyCollection(kUsageAssignment);
    EXPECT_EQ(caps.inputReportByteLength, 13);
    ASSERT_EQ(caps.inputValueCaps.size(), 4u);

    const HidValueCaps& range = caps.inputValueCaps[0];
    EXPECT_TRUE(range.isRange);
    EXPECT_EQ(range.usageMin, 3);
    EXPECT_EQ(range.usageMax, 7);
    EXPECT_EQ(range.reportCount, 5);

    const HidValueCaps& first = caps.inputValueCaps[1];
    const HidValueCaps& last = caps.inputValueCaps[2];
    EXPECT_EQ(first.usageMin, 0x10);
    EXPECT_EQ(first.bitOffset, 40u);
    EXPECT_EQ(first.bitSize, 16);
    EXPECT_EQ(first.reportCount, 1);
    EXPECT_EQ(last.usageMin, 0x11);
    EXPECT_EQ(last.bitOffset, 56u);
    EXPECT_EQ(last.reportCount, 2) << "the last usage takes the fields left over";

    const HidValueCaps& pan = caps.inputValueCaps[3];
    EXPECT_EQ(pan.usagePage, 0x0C);
    EXPECT_EQ(pan.usageMin, 0x238);
    EXPECT_EQ(pan.bitSize, 8) << "Pop restores the 8-bit Report Size";
    EXPECT_EQ(pan.bitOffset, 88u);

    Bytes report(13, 0);
    report[3] = 0x55;  // usage 5, the third of the range
    report[8] = 0x34;  // usage 0x11, 16 bits little-endian
    report[9] = 0x12;
    report[12] = 0x7E;
    uint32_t value = 0;
    EXPECT_EQ(GetUsageValue(caps, 0xFF00, 5, report, value), HidStatus::Success);
    EXPECT_EQ(value, 0x55u);
    EXPECT_EQ(GetUsageValue(caps, 0xFF00, 0x11, report, value), HidStatus::Success);
    EXPECT_EQ(value, 0x1234u);
    EXPECT_EQ(GetUsageValue(caps, 0x0C, 0x238, report, value), HidStatus::Success);
    EXPECT_EQ(value, 0x7Eu);
    EXPECT_EQ(GetUsageValue(caps, 0xFF00, 0x238, report, value), HidStatus::UsageNotFound);
}

Bytes Nested(size_t depth) {
    Bytes descriptor;
    for (size_t i = 0; i < depth; ++i) {
        descriptor.insert(descriptor.end(), {0xA1, 0x00});
    }
    for (size_t i = 0; i < depth; ++i) {
        descriptor.push_back(0xC0);
    }
    return descriptor;
}

TEST(MalformedDescriptor, GivesAnErrorAndNoCollections) {
    struct Case {
        const char* name;
        Bytes descriptor;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"truncated item", {0x05, 0x01, 0x09}, "truncated item 0x09 at byte 2"},
        {"truncated long item", {0xFE, 0x05, 0x00, 0x01}, "truncated long item"},
        {"End Collection first", {0xC0}, "End Collection without an open Collection"},
        {"unclosed collection",
         {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xA1, 0x00, 0xC0},
         "left open"},
        {"Pop without Push", {0xA1, 0x01, 0xB4, 0xC0}, "Pop without Push"},
        {"Report Size 0",
         {0xA1, 0x01, 0x75, 0x00, 0x95, 0x02, 0x81, 0x02, 0xC0},
         "Report Size 0 with Report Count 2"},
        {"33-bit value", {0xA1, 0x01, 0x75, 0x21, 0x95, 0x01, 0x81, 0x02, 0xC0}, "above 32 bits"},
        {"report over 8192 bytes",
         {0xA1, 0x01, 0x76, 0x00, 0x01, 0x96, 0x01, 0x01, 0x81, 0x01, 0xC0},
         "longer than 8192 bytes"},
        {"Report Count over 16 bits",
         {0xA1, 0x01, 0x75, 0x01, 0x97, 0x00, 0x00, 0x01, 0x00, 0x81, 0x01, 0xC0},
         "Report Count 65536"},
        {"main item outside a collection",
         {0x75, 0x08, 0x95, 0x01, 0x81, 0x02},
         "Input item outside any collection"},
        {"Report ID 0", {0x85, 0x00}, "Report ID 0"},
        {"lone Usage Minimum",
         {0xA1, 0x01, 0x19, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0},
         "Usage Minimum without Usage Maximum"},
        {"Usage Minimum above Maximum",
         {0xA1, 0x01, 0x19, 0x05, 0x29, 0x01, 0xC0},
         "above Usage Maximum"},
        {"Report ID after a report without",
         {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x81, 0x02, 0xC0},
         "Report ID after a report that had none"},
        {"report without id once ids are used",
         {0x75, 0x08, 0x95, 0x01, 0xA4, 0x85, 0x01, 0xA1, 0x01, 0x81, 0x02, 0xB4, 0x81, 0x02, 0xC0},
         "without Report ID"},
        {"unknown global item", {0xC4}, "unknown global item tag"},
        {"nesting too deep", Nested(33), "nested deeper than 32"},
        {"Push too deep", Bytes(17, 0xA4), "Push nested deeper than 16"},
        {"empty descriptor", {}, "no collection"},
        {"over 4096 bytes", Bytes(kMaxReportDescriptorSize + 1, 0xA4), "longer than 4096"},
    };
    for (const Case& c : cases) {
        const HidDescriptorParse parse = ParseReportDescriptor(c.descriptor);
        EXPECT_FALSE(parse.ok()) << c.name;
        EXPECT_THAT(parse.error, HasSubstr(c.error)) << c.name;
        EXPECT_TRUE(parse.collections.empty()) << c.name;
    }
    EXPECT_TRUE(ParseReportDescriptor(Nested(32)).ok());
}

class DescriptorFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zarvin-descriptor-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path Write(const std::string& name, const std::string& content) {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // A named pipe nothing writes to: reading it must not wait.
    std::filesystem::path Fifo(const std::string& name) const {
        const std::filesystem::path path = folder_ / name;
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return path;
    }

    std::filesystem::path folder_;
};

TEST_F(DescriptorFile, ReadsRawBytes) {
    const auto path =
        Write("keyboard.bin", std::string(kBootKeyboard.begin(), kBootKeyboard.end()));
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(LoadDescriptorFile(path, bytes, error)) << error;
    EXPECT_EQ(bytes, kBootKeyboard);
}

TEST_F(DescriptorFile, ReadsHexTextInItsUsualForms) {
    const Bytes expected = {0x05, 0x01, 0x09, 0x06};
    const char* const texts[] = {
        "05 01 09 06\n",
        "0x05, 0x01,\n0x09, 0x06 // Usage (Keyboard)\n",
        "05010906",
        "# boot keyboard\n05 01  # Usage Page (Generic Desktop)\n\t09 06//Usage\r\n",
        "0x5,0x1,0X09,0x06",
    };
    for (const char* text : texts) {
        Bytes bytes;
        std::string error;
        EXPECT_TRUE(LoadDescriptorFile(Write("keyboard.txt", text), bytes, error)) << error;
        EXPECT_EQ(bytes, expected) << text;
    }
}

TEST_F(DescriptorFile, RejectsWhatIsNoDescriptor) {
    struct Case {
        const char* name;
        std::filesystem::path path;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"missing", folder_ / "missing.bin", "cannot open"},
        {"folder", folder_, "is a folder"},
        {"named pipe", Fifo("pipe.bin"), "is a named pipe"},
        {"empty", Write("empty.bin", ""), "is empty"},
        {"odd digits", Write("odd.txt", "05 01\n09 6\n"), "line 2: '6' has an odd number"},
        {"comments only", Write("comments.txt", "# nothing here\n"), "no descriptor bytes"},
        {"stray x", Write("stray.txt", "05 x1"), "'x1' is not a hex number"},
        {"raw over 4096 bytes",
         Write("long.bin", std::string(kMaxReportDescriptorSize + 1, '\x05')),
         "more than the 4096"},
    };
    for (const Case& c : cases) {
        Bytes bytes = {0x01};
        std::string error;
        EXPECT_FALSE(LoadDescriptorFile(c.path, bytes, error)) << c.name;
        EXPECT_THAT(error, HasSubstr(c.error)) << c.name;
        EXPECT_TRUE(bytes.empty()) << c.name;
    }
}

}  // namespace
}  // namespace zarvin
