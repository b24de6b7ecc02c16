#pragma once

// Our own HID report-descriptor parser: what the Windows HID parser tells about a top-level
// collection (usage, report lengths, button and value capabilities), and the report decoding
// on top of it (usages present in a report, raw and scaled values).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zarvin {

enum class HidReportType { Input, Output, Feature };

// The parser's status codes, with the values the Windows HID parser uses.
enum class HidStatus : uint32_t {
    Success = 0x00110000,
    InvalidReportLength = 0xC0110003,
    UsageNotFound = 0xC0110004,
    ValueOutOfRange = 0xC0110005,
    BadLogPhyValues = 0xC0110006,
    BufferTooSmall = 0xC0110007,
    IncompatibleReportId = 0xC0110010,
};

// One button capability: a 1-bit variable field or an array field, for one usage or a range.
struct HidButtonCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;  // the usage itself when not a range
    uint16_t usageMax = 0;  // the usage itself when not a range
    bool isArray = false;   // array (selector) field rather than a bitmap
    uint16_t linkCollection = 0;
    // Where the field sits in the report, counted in bits after the report id byte.
    uint32_t bitOffset = 0;
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
};

// One value capability: a variable field wider than one bit, for one usage or a range.
struct HidValueCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint16_t linkCollection = 0;
    uint32_t bitOffset = 0;  // of the first usage's field, after the report id byte
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    bool hasNull = false;
    bool isAbsolute = true;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
};

// One top-level collection as the Windows parser describes it.
struct HidCollectionCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // Byte lengths as Windows counts them: the longest report of the kind plus the report id
    // byte (present even when the device uses no report ids); 0 when there is no such report.
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    bool usesReportIds = false;
    std::vector<uint8_t> inputReportIds;  // distinct ids of the input reports, in first-seen order
    std::vector<HidButtonCaps> inputButtonCaps;
    std::vector<HidValueCaps> inputValueCaps;
};

struct HidDescriptorParse {
    std::vector<HidCollectionCaps> collections;  // in descriptor order
    std::string error;                           // empty when the descriptor was well formed
    bool ok() const { return error.empty(); }
};

// Never reads past `descriptor`; a malformed descriptor gives an error and no collections.
HidDescriptorParse ParseReportDescriptor(std::span<const uint8_t> descriptor);

// HidP_MaxUsageListLength: how many usages of `usagePage` (0 = any page) one input report of
// the collection can hold at once.
uint32_t MaxUsageListLength(const HidCollectionCaps& caps, uint16_t usagePage);

// HidP_GetUsages for input reports: the button usages of `usagePage` that are on in `report`
// (report[0] is the report id byte), in parser order, at most `maxCount`.
HidStatus GetUsages(const HidCollectionCaps& caps, uint16_t usagePage,
                    std::span<const uint8_t> report, std::vector<uint16_t>& usages,
                    uint32_t maxCount);

// HidP_GetUsageValue for input reports.
HidStatus GetUsageValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                        std::span<const uint8_t> report, uint32_t& value);

// HidP_GetScaledUsageValue for input reports: the logical value mapped onto the physical range
// (BadLogPhyValues when the ranges do not allow it).
HidStatus GetScaledUsageValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                              std::span<const uint8_t> report, int32_t& value);

}  // namespace zarvin
