#pragma once

// Our own HID report-descriptor parser: what the Windows HID parser tells about a top-level
// collection (usage, report lengths, button and value capabilities), and the report decoding
// on top of it (usages present in a report, raw and scaled values).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zarvin {

// HID_MAX_DESCRIPTOR_SIZE: the kernel never hands out a longer report descriptor.
inline constexpr size_t kMaxReportDescriptorSize = 4096;
// Longest report the parser accepts, counted without the report id byte.
inline constexpr uint32_t kMaxReportDataBytes = 8192;

enum class HidReportType { Input, Output, Feature };

// The parser's status codes, with the values the Windows HID parser uses.
enum class HidStatus : uint32_t {
    Success = 0x00110000,
    Null = 0x80110001,  // the field holds a value outside its logical range and has a null state
    InvalidReportLength = 0xC0110003,
    UsageNotFound = 0xC0110004,
    ValueOutOfRange = 0xC0110005,
    BadLogPhyValues = 0xC0110006,
    BufferTooSmall = 0xC0110007,
    IncompatibleReportId = 0xC0110010,
};

// Consecutive usage ids, one entry of a field's usage list.
struct HidUsageRange {
    uint16_t min = 0;
    uint16_t max = 0;
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
    // Array fields only: the usages that the values logicalMin, logicalMin + 1, ... select, in
    // order (a Usage Minimum/Maximum pair is one entry, each Usage item another).
    std::vector<HidUsageRange> arrayUsages;
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
    uint16_t numberLinkCollectionNodes = 1;  // the collection itself and every one nested in it
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
// Every depth-0 collection is one top-level collection. Short usages take the Usage Page in
// force at their main item; 4-byte usages carry their own page.
HidDescriptorParse ParseReportDescriptor(std::span<const uint8_t> descriptor);

// HidP_MaxUsageListLength: how many usages of `usagePage` (0 = any page) one input report of
// the collection can hold at once.
uint32_t MaxUsageListLength(const HidCollectionCaps& caps, uint16_t usagePage);

// The report calls below take input reports whose first byte is the report id (0 when the
// device uses none) and which are at least the collection's input report length. As on
// Windows, IncompatibleReportId means the usage exists, but in another report.

// HidP_GetUsages: the button usages of `usagePage` that are on in `report`, in parser order,
// at most `maxCount` (BufferTooSmall when more were on). An array element outside the logical
// range, or selecting usage 0, is no usage.
HidStatus GetUsages(const HidCollectionCaps& caps, uint16_t usagePage,
                    std::span<const uint8_t> report, std::vector<uint16_t>& usages,
                    uint32_t maxCount);

// HidP_GetUsageValue: the field's bits, unsigned (the first element of a value array).
HidStatus GetUsageValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                        std::span<const uint8_t> report, uint32_t& value);

// HidP_GetScaledUsageValue: the logical value (signed when the logical minimum is negative)
// mapped onto the physical range. BadLogPhyValues when either range is empty; ValueOutOfRange,
// or Null for a field with a null state, when the value is outside the logical range.
HidStatus GetScaledUsageValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                              std::span<const uint8_t> report, int32_t& value);

}  // namespace zarvin
