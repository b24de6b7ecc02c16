// Parses arbitrary descriptor bytes, then decodes arbitrary input reports with every collection
// found, checking the promises the parser makes to its callers on the way.
//
// Input: a 16-bit little-endian descriptor length, the descriptor, then report bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <vector>

#include "cli/DescriptorDescription.h"
#include "device/HidReportDescriptor.h"

namespace {

using zarvin::HidCollectionCaps;
using zarvin::HidStatus;

void Require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

// Every field must lie inside the input report length the collection announces.
void CheckLayout(const HidCollectionCaps& caps) {
    const uint64_t reportBits = uint64_t{caps.inputReportByteLength} * 8;
    for (const auto& button : caps.inputButtonCaps) {
        Require(button.usageMin <= button.usageMax);
        Require(8 + uint64_t{button.bitOffset} + uint64_t{button.bitSize} * button.reportCount <=
                reportBits);
    }
    for (const auto& value : caps.inputValueCaps) {
        Require(value.usageMin <= value.usageMax);
        Require(8 + uint64_t{value.bitOffset} + uint64_t{value.bitSize} * value.reportCount <=
                reportBits);
    }
}

void DecodeButtons(const HidCollectionCaps& caps, std::span<const uint8_t> report) {
    std::set<uint16_t> pages;
    for (const auto& button : caps.inputButtonCaps) {
        pages.insert(button.usagePage);
    }
    std::vector<uint16_t> usages;
    for (const uint16_t page : pages) {
        const uint32_t room = zarvin::MaxUsageListLength(caps, page);
        const HidStatus status = zarvin::GetUsages(caps, page, report, usages, room);
        Require(status != HidStatus::BufferTooSmall);
        Require(usages.size() <= room);
        for (const uint16_t usage : usages) {
            Require(usage != 0);
        }
        zarvin::GetUsages(caps, page, report, usages, 1);
        Require(usages.size() <= 1);
    }
}

// The capability a usage of this report resolves to: the first that holds it, as on Windows.
const zarvin::HidValueCaps* ValueCapsOf(const HidCollectionCaps& caps, uint16_t page,
                                        uint16_t usage, uint8_t reportId) {
    for (const auto& value : caps.inputValueCaps) {
        if (value.usagePage == page && value.reportId == reportId && usage >= value.usageMin &&
            usage <= value.usageMax) {
            return &value;
        }
    }
    return nullptr;
}

void DecodeValues(const HidCollectionCaps& caps, std::span<const uint8_t> report) {
    for (const auto& value : caps.inputValueCaps) {
        const uint16_t middle = static_cast<uint16_t>((value.usageMin + value.usageMax) / 2);
        for (const uint16_t usage : {value.usageMin, middle, value.usageMax}) {
            uint32_t raw = 0;
            zarvin::GetUsageValue(caps, value.usagePage, usage, report, raw);
            int32_t scaled = 0;
            if (zarvin::GetScaledUsageValue(caps, value.usagePage, usage, report, scaled) ==
                HidStatus::Success) {
                const auto* found = ValueCapsOf(caps, value.usagePage, usage, report[0]);
                Require(found != nullptr);
                Require(scaled >= found->physicalMin && scaled <= found->physicalMax);
            }
        }
    }
}

void DecodeReports(const HidCollectionCaps& caps, std::span<const uint8_t> data) {
    std::vector<uint8_t> ids = caps.inputReportIds;
    ids.push_back(0);
    ids.push_back(0xFF);
    // Full-length reports for each id, and ones a byte short and a byte long.
    for (const uint8_t id : ids) {
        for (const size_t length :
             {size_t{caps.inputReportByteLength}, size_t{caps.inputReportByteLength} + 1,
              caps.inputReportByteLength > 0 ? size_t{caps.inputReportByteLength} - 1
                                             : size_t{0}}) {
            std::vector<uint8_t> report(length, 0);
            for (size_t i = 1; i < length && !data.empty(); ++i) {
                report[i] = data[(i - 1) % data.size()];
            }
            if (!report.empty()) {
                report[0] = id;
            }
            DecodeButtons(caps, report);
            DecodeValues(caps, report);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::span<const uint8_t> input(data, size);
    const size_t declared = size_t{input[0]} | size_t{input[1]} << 8;
    const size_t length = std::min(declared, size - 2);
    const std::span<const uint8_t> descriptor = input.subspan(2, length);
    const std::span<const uint8_t> reportData = input.subspan(2 + length);

    const zarvin::HidDescriptorParse parse = zarvin::ParseReportDescriptor(descriptor);
    Require(parse.ok() != parse.collections.empty());
    for (const HidCollectionCaps& caps : parse.collections) {
        CheckLayout(caps);
        DecodeReports(caps, reportData);
    }
    Require(zarvin::DescribeDescriptor(parse).empty() == !parse.ok());
    return 0;
}
