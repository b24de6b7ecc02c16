#include "device/HidReportDescriptor.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdio>
#include <optional>
#include <utility>

namespace zarvin {
namespace {

constexpr size_t kMaxCollectionDepth = 32;
constexpr size_t kMaxPushDepth = 16;
constexpr uint32_t kMaxDataFieldBits = 32;    // a value or array element must fit the 32-bit calls
constexpr uint32_t kMaxReportCount = 0xFFFF;  // the capability records count fields in 16 bits
constexpr size_t kReportKinds = 3;
constexpr size_t kReportIds = 256;

constexpr uint8_t kLongItemPrefix = 0xFE;

enum ItemType : uint8_t { kMainItem = 0, kGlobalItem = 1, kLocalItem = 2 };

enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kLogicalMinimum = 0x1,
    kLogicalMaximum = 0x2,
    kPhysicalMinimum = 0x3,
    kPhysicalMaximum = 0x4,
    kUnitExponent = 0x5,
    kUnit = 0x6,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0, kUsageMinimum = 0x1, kUsageMaximum = 0x2 };

// Flags of Input, Output and Feature items.
constexpr uint32_t kConstantFlag = 0x01;
constexpr uint32_t kVariableFlag = 0x02;
constexpr uint32_t kRelativeFlag = 0x04;
constexpr uint32_t kNullStateFlag = 0x40;

// The data of one short item: little-endian, zero-extended, with its size in bytes.
struct ItemData {
    uint32_t value = 0;
    uint8_t size = 0;

    int32_t Signed() const {
        switch (size) {
            case 1:
                return static_cast<int8_t>(value);
            case 2:
                return static_cast<int16_t>(value);
            case 4:
                return static_cast<int32_t>(value);
            default:
                return 0;
        }
    }
    // A 4-byte usage names its page in the high 16 bits and ignores the Usage Page item.
    std::optional<uint16_t> ExtendedPage() const {
        if (size == 4) {
            return static_cast<uint16_t>(value >> 16);
        }
        return std::nullopt;
    }
    uint16_t Low16() const { return static_cast<uint16_t>(value); }
};

struct GlobalState {
    uint16_t usagePage = 0;
    ItemData logicalMin;
    ItemData logicalMax;
    ItemData physicalMin;
    ItemData physicalMax;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

struct UsageEntry {
    // Known for 4-byte usages; otherwise the Usage Page in force at the main item, as Windows
    // reads short usages.
    std::optional<uint16_t> page;
    uint16_t min = 0;
    uint16_t max = 0;
    bool isRange = false;
};

struct LocalState {
    std::vector<UsageEntry> usages;
    std::optional<ItemData> usageMin;  // waiting for its Usage Maximum
    std::optional<ItemData> usageMax;  // waiting for its Usage Minimum
};

struct FieldUsage {
    uint16_t page = 0;
    uint16_t min = 0;
    uint16_t max = 0;
    bool isRange = false;
};

struct FieldRanges {
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
};

// A maximum is signed only when its minimum is negative, so that "Logical Maximum (255)" written
// in one byte means 255 rather than -1 for an unsigned field.
int32_t MaximumOf(int32_t minimum, const ItemData& maximum) {
    return minimum < 0 ? maximum.Signed() : static_cast<int32_t>(maximum.value);
}

FieldRanges RangesOf(const GlobalState& global) {
    FieldRanges ranges;
    ranges.logicalMin = global.logicalMin.Signed();
    ranges.logicalMax = MaximumOf(ranges.logicalMin, global.logicalMax);
    ranges.physicalMin = global.physicalMin.Signed();
    ranges.physicalMax = MaximumOf(ranges.physicalMin, global.physicalMax);
    if (ranges.physicalMin == 0 && ranges.physicalMax == 0) {
        ranges.physicalMin = ranges.logicalMin;
        ranges.physicalMax = ranges.logicalMax;
    }
    return ranges;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

const char* KindName(HidReportType kind) {
    switch (kind) {
        case HidReportType::Input:
            return "Input";
        case HidReportType::Output:
            return "Output";
        case HidReportType::Feature:
            return "Feature";
    }
    return "";
}

class DescriptorParser {
public:
    explicit DescriptorParser(std::span<const uint8_t> descriptor) : descriptor_(descriptor) {}

    HidDescriptorParse Run() {
        HidDescriptorParse result;
        if (ParseItems() && CheckComplete()) {
            SetReportLengths();
            result.collections = std::move(collections_);
        }
        result.error = std::move(error_);
        return result;
    }

private:
    bool Fail(const std::string& what) {
        error_ = what + " at byte " + std::to_string(itemOffset_);
        return false;
    }

    bool ParseItems() {
        if (descriptor_.size() > kMaxReportDescriptorSize) {
            error_ = "descriptor of " + std::to_string(descriptor_.size()) +
                     " bytes is longer than " + std::to_string(kMaxReportDescriptorSize);
            return false;
        }
        size_t position = 0;
        while (position < descriptor_.size()) {
            itemOffset_ = position;
            const uint8_t prefix = descriptor_[position];
            const size_t left = descriptor_.size() - position - 1;
            if (prefix == kLongItemPrefix) {
                // No long item tags are defined; skip the item whole.
                if (left < 2 || left - 2 < descriptor_[position + 1]) {
                    return Fail("truncated long item");
                }
                position += 3u + descriptor_[position + 1];
                continue;
            }
            const uint8_t sizeCode = prefix & 0x3;
            ItemData data;
            data.size = sizeCode == 3 ? 4 : sizeCode;
            if (left < data.size) {
                return Fail("truncated item " + Hex(prefix));
            }
            for (uint8_t i = 0; i < data.size; ++i) {
                data.value |= static_cast<uint32_t>(descriptor_[position + 1 + i]) << (8 * i);
            }
            position += 1u + data.size;
            const auto tag = static_cast<uint8_t>(prefix >> 4);
            bool ok = true;
            switch ((prefix >> 2) & 0x3) {
                case kMainItem:
                    ok = OnMainItem(tag, data);
                    break;
                case kGlobalItem:
                    ok = OnGlobalItem(tag, data);
                    break;
                case kLocalItem:
                    ok = OnLocalItem(tag, data);
                    break;
                default:
                    break;  // reserved item type: nothing to take from it
            }
            if (!ok) {
                return false;
            }
        }
        itemOffset_ = descriptor_.size();
        return true;
    }

    bool CheckComplete() {
        if (!openLinks_.empty()) {
            error_ = "collection left open at the end of the descriptor";
            return false;
        }
        if (collections_.empty()) {
            error_ = "descriptor has no collection";
            return false;
        }
        return true;
    }

    bool OnMainItem(uint8_t tag, const ItemData& data) {
        bool ok = true;
        switch (tag) {
            case kInput:
                ok = AddField(HidReportType::Input, data.value);
                break;
            case kOutput:
                ok = AddField(HidReportType::Output, data.value);
                break;
            case kFeature:
                ok = AddField(HidReportType::Feature, data.value);
                break;
            case kCollection:
                ok = OpenCollection();
                break;
            case kEndCollection:
                ok = CloseCollection();
                break;
            default:
                // Undefined main items carry no field; some devices pad their descriptor with zero
                // bytes, which read as such items.
                break;
        }
        local_ = {};
        return ok;
    }

    bool OnGlobalItem(uint8_t tag, const ItemData& data) {
        switch (tag) {
            case kUsagePage:
                global_.usagePage = data.Low16();
                return true;
            case kLogicalMinimum:
                global_.logicalMin = data;
                return true;
            case kLogicalMaximum:
                global_.logicalMax = data;
                return true;
            case kPhysicalMinimum:
                global_.physicalMin = data;
                return true;
            case kPhysicalMaximum:
                global_.physicalMax = data;
                return true;
            case kUnitExponent:
            case kUnit:
                return true;
            case kReportSize:
                global_.reportSize = data.value;
                return true;
            case kReportId:
                if (data.value == 0 || data.value >= kReportIds) {
                    return Fail("Report ID " + std::to_string(data.value) + " outside 1..255");
                }
                if (sawReportWithoutId_) {
                    return Fail("Report ID after a report that had none");
                }
                sawReportIdItem_ = true;
                global_.reportId = static_cast<uint8_t>(data.value);
                return true;
            case kReportCount:
                global_.reportCount = data.value;
                return true;
            case kPush:
                if (globalStack_.size() >= kMaxPushDepth) {
                    return Fail("Push nested deeper than " + std::to_string(kMaxPushDepth));
                }
                globalStack_.push_back(global_);
                return true;
            case kPop:
                if (globalStack_.empty()) {
                    return Fail("Pop without Push");
                }
                global_ = globalStack_.back();
                globalStack_.pop_back();
                return true;
            default:
                return Fail("unknown global item tag " + Hex(tag));
        }
    }

    bool OnLocalItem(uint8_t tag, const ItemData& data) {
        switch (tag) {
            case kUsage:
                local_.usages.push_back({data.ExtendedPage(), data.Low16(), data.Low16(), false});
                return true;
            case kUsageMinimum:
                local_.usageMin = data;
                return TakeUsageRange();
            case kUsageMaximum:
                local_.usageMax = data;
                return TakeUsageRange();
            default:
                return true;  // designators, strings and delimiters change no capability
        }
    }

    bool TakeUsageRange() {
        if (!local_.usageMin || !local_.usageMax) {
            return true;
        }
        const ItemData min = *std::exchange(local_.usageMin, std::nullopt);
        const ItemData max = *std::exchange(local_.usageMax, std::nullopt);
        const std::optional<uint16_t> minPage = min.ExtendedPage();
        const std::optional<uint16_t> maxPage = max.ExtendedPage();
        if (minPage && maxPage && *minPage != *maxPage) {
            return Fail("Usage Minimum and Usage Maximum on different usage pages");
        }
        if (min.Low16() > max.Low16()) {
            return Fail("Usage Minimum " + Hex(min.Low16()) + " above Usage Maximum " +
                        Hex(max.Low16()));
        }
        local_.usages.push_back({minPage ? minPage : maxPage, min.Low16(), max.Low16(), true});
        return true;
    }

    bool OpenCollection() {
        if (openLinks_.size() >= kMaxCollectionDepth) {
            return Fail("collections nested deeper than " + std::to_string(kMaxCollectionDepth));
        }
        if (!openLinks_.empty()) {
            // Nested collections are the top-level collection's link collections, numbered in
            // the order they open; the top level itself is 0.
            openLinks_.push_back(collections_.back().numberLinkCollectionNodes++);
            return true;
        }
        HidCollectionCaps caps;
        caps.usagePage = global_.usagePage;
        if (!local_.usages.empty()) {
            caps.usagePage = local_.usages.front().page.value_or(global_.usagePage);
            caps.usage = local_.usages.front().min;
        }
        collections_.push_back(std::move(caps));
        idsOfCollection_.emplace_back();
        openLinks_.push_back(0);
        return true;
    }

    bool CloseCollection() {
        if (openLinks_.empty()) {
            return Fail("End Collection without an open Collection");
        }
        openLinks_.pop_back();
        return true;
    }

    bool AddField(HidReportType kind, uint32_t flags) {
        const std::string name = KindName(kind);
        if (openLinks_.empty()) {
            return Fail(name + " item outside any collection");
        }
        if (local_.usageMin || local_.usageMax) {
            return Fail(local_.usageMin ? "Usage Minimum without Usage Maximum"
                                        : "Usage Maximum without Usage Minimum");
        }
        const uint32_t size = global_.reportSize;
        const uint32_t count = global_.reportCount;
        if (count == 0) {
            return true;
        }
        if (size == 0) {
            return Fail("Report Size 0 with Report Count " + std::to_string(count));
        }
        if (count > kMaxReportCount) {
            return Fail("Report Count " + std::to_string(count) + " above " +
                        std::to_string(kMaxReportCount));
        }
        const bool constant = (flags & kConstantFlag) != 0;
        if (!constant && size > kMaxDataFieldBits) {
            return Fail("Report Size " + std::to_string(size) + " above " +
                        std::to_string(kMaxDataFieldBits) + " bits for a data field");
        }
        const uint8_t id = global_.reportId;
        if (id == 0 && sawReportIdItem_) {
            return Fail(name + " report without Report ID in a descriptor that uses them");
        }
        uint32_t& declared = reportBits_[static_cast<size_t>(kind)][id];
        const uint64_t bits = uint64_t{size} * count;
        if (declared + bits > uint64_t{kMaxReportDataBytes} * 8) {
            return Fail(name + " report " + std::to_string(id) + " longer than " +
                        std::to_string(kMaxReportDataBytes) + " bytes");
        }
        const uint32_t bitOffset = declared;
        declared += static_cast<uint32_t>(bits);
        sawReportWithoutId_ = sawReportWithoutId_ || id == 0;
        idsOfCollection_.back()[static_cast<size_t>(kind)].set(id);
        if (kind != HidReportType::Input) {
            return true;
        }
        std::vector<uint8_t>& inputIds = collections_.back().inputReportIds;
        if (std::find(inputIds.begin(), inputIds.end(), id) == inputIds.end()) {
            inputIds.push_back(id);
        }
        if (constant) {
            return true;  // padding
        }
        if ((flags & kVariableFlag) != 0) {
            AddVariableCaps(bitOffset, flags);
        } else {
            AddArrayCap(bitOffset);
        }
        return true;
    }

    std::vector<FieldUsage> FieldUsages() const {
        std::vector<FieldUsage> usages;
        for (const UsageEntry& entry : local_.usages) {
            usages.push_back(
                {entry.page.value_or(global_.usagePage), entry.min, entry.max, entry.isRange});
        }
        return usages;
    }

    // Each usage (or Usage Minimum/Maximum range) takes as many fields as it has usages, in
    // order; the last one also takes every field left over, and usages beyond the fields drop.
    void AddVariableCaps(uint32_t bitOffset, uint32_t flags) {
        std::vector<FieldUsage> usages = FieldUsages();
        if (usages.empty()) {
            usages.push_back({global_.usagePage, 0, 0, false});
        }
        const FieldRanges ranges = RangesOf(global_);
        HidCollectionCaps& collection = collections_.back();
        const uint32_t size = global_.reportSize;
        const uint32_t count = global_.reportCount;
        uint32_t field = 0;
        for (size_t i = 0; i < usages.size() && field < count; ++i) {
            const FieldUsage& usage = usages[i];
            const uint32_t usageCount = uint32_t{usage.max} - usage.min + 1;
            const uint32_t fields =
                i + 1 == usages.size() ? count - field : std::min(usageCount, count - field);
            const auto usageMax =
                static_cast<uint16_t>(usage.min + std::min(usageCount, fields) - 1);
            const uint32_t offset = bitOffset + field * size;
            field += fields;
            if (size == 1) {
                HidButtonCaps caps;
                caps.usagePage = usage.page;
                caps.reportId = global_.reportId;
                caps.isRange = usage.isRange;
                caps.usageMin = usage.min;
                caps.usageMax = usageMax;
                caps.linkCollection = openLinks_.back();
                caps.bitOffset = offset;
                caps.bitSize = 1;
                caps.reportCount = static_cast<uint16_t>(fields);
                caps.logicalMin = ranges.logicalMin;
                caps.logicalMax = ranges.logicalMax;
                collection.inputButtonCaps.push_back(std::move(caps));
                continue;
            }
            HidValueCaps caps;
            caps.usagePage = usage.page;
            caps.reportId = global_.reportId;
            caps.isRange = usage.isRange;
            caps.usageMin = usage.min;
            caps.usageMax = usageMax;
            caps.linkCollection = openLinks_.back();
            caps.bitOffset = offset;
            caps.bitSize = static_cast<uint16_t>(size);
            caps.reportCount = static_cast<uint16_t>(fields);
            caps.hasNull = (flags & kNullStateFlag) != 0;
            caps.isAbsolute = (flags & kRelativeFlag) == 0;
            caps.logicalMin = ranges.logicalMin;
            caps.logicalMax = ranges.logicalMax;
            caps.physicalMin = ranges.physicalMin;
            caps.physicalMax = ranges.physicalMax;
            collection.inputValueCaps.push_back(caps);
        }
    }

    // An array field is one capability: each element holds the index of one usage that is on.
    void AddArrayCap(uint32_t bitOffset) {
        const std::vector<FieldUsage> usages = FieldUsages();
        const FieldRanges ranges = RangesOf(global_);
        HidButtonCaps caps;
        caps.usagePage = usages.empty() ? global_.usagePage : usages.front().page;
        caps.reportId = global_.reportId;
        caps.isArray = true;
        caps.linkCollection = openLinks_.back();
        caps.bitOffset = bitOffset;
        caps.bitSize = static_cast<uint16_t>(global_.reportSize);
        caps.reportCount = static_cast<uint16_t>(global_.reportCount);
        caps.logicalMin = ranges.logicalMin;
        caps.logicalMax = ranges.logicalMax;
        if (!usages.empty()) {
            caps.isRange = usages.size() > 1 || usages.front().isRange;
            caps.usageMin = usages.front().min;
            caps.usageMax = usages.front().max;
        }
        for (const FieldUsage& usage : usages) {
            caps.usageMin = std::min(caps.usageMin, usage.min);
            caps.usageMax = std::max(caps.usageMax, usage.max);
            caps.arrayUsages.push_back({usage.min, usage.max});
        }
        collections_.back().inputButtonCaps.push_back(std::move(caps));
    }

    // A report's length is the longest report of the kind among the collection's report ids,
    // plus the report id byte, which Windows counts even when the device sends none.
    void SetReportLengths() {
        for (size_t index = 0; index < collections_.size(); ++index) {
            HidCollectionCaps& caps = collections_[index];
            caps.usesReportIds = sawReportIdItem_;
            std::array<uint16_t, kReportKinds> lengths{};
            for (size_t kind = 0; kind < kReportKinds; ++kind) {
                uint32_t bits = 0;
                for (size_t id = 0; id < kReportIds; ++id) {
                    if (idsOfCollection_[index][kind].test(id)) {
                        bits = std::max(bits, reportBits_[kind][id]);
                    }
                }
                lengths[kind] = bits == 0 ? 0 : static_cast<uint16_t>((bits + 7) / 8 + 1);
            }
            caps.inputReportByteLength = lengths[static_cast<size_t>(HidReportType::Input)];
            caps.outputReportByteLength = lengths[static_cast<size_t>(HidReportType::Output)];
            caps.featureReportByteLength = lengths[static_cast<size_t>(HidReportType::Feature)];
        }
    }

    std::span<const uint8_t> descriptor_;
    size_t itemOffset_ = 0;
    std::string error_;

    GlobalState global_;
    std::vector<GlobalState> globalStack_;
    LocalState local_;

    std::vector<HidCollectionCaps> collections_;
    std::vector<uint16_t> openLinks_;  // link collection of each open collection, innermost last
    // Bits declared so far per report kind and id, over the whole descriptor: the layout on the
    // wire, even when one report id were shared by two top-level collections.
    std::array<std::array<uint32_t, kReportIds>, kReportKinds> reportBits_{};
    std::vector<std::array<std::bitset<kReportIds>, kReportKinds>> idsOfCollection_;
    bool sawReportIdItem_ = false;
    bool sawReportWithoutId_ = false;
};

// ---- Report decoding ----

// The unsigned bits of one field element; none when the element lies past the report.
std::optional<uint32_t> ReadElement(std::span<const uint8_t> report, uint32_t bitOffset,
                                    uint16_t bitSize, uint32_t element) {
    const uint64_t first = 8 + uint64_t{bitOffset} + uint64_t{element} * bitSize;
    if (bitSize == 0 || bitSize > kMaxDataFieldBits || first + bitSize > report.size() * 8) {
        return std::nullopt;
    }
    const size_t firstByte = static_cast<size_t>(first / 8);
    const size_t lastByte = static_cast<size_t>((first + bitSize - 1) / 8);
    uint64_t bits = 0;
    for (size_t byte = lastByte + 1; byte-- > firstByte;) {
        bits = (bits << 8) | report[byte];
    }
    bits >>= first % 8;
    return static_cast<uint32_t>(bits & ((uint64_t{1} << bitSize) - 1));
}

// A field whose logical minimum is negative holds two's-complement values.
int64_t LogicalValue(uint32_t raw, uint16_t bitSize, int32_t logicalMin) {
    if (logicalMin >= 0) {
        return raw;
    }
    if (bitSize >= 32) {
        return static_cast<int32_t>(raw);
    }
    const uint32_t signBit = uint32_t{1} << (bitSize - 1);
    return (raw & signBit) != 0 ? int64_t{raw} - (int64_t{1} << bitSize) : int64_t{raw};
}

HidStatus CheckInputReport(const HidCollectionCaps& caps, std::span<const uint8_t> report) {
    if (report.empty() || report.size() < caps.inputReportByteLength) {
        return HidStatus::InvalidReportLength;
    }
    if (!caps.usesReportIds && report[0] != 0) {
        return HidStatus::IncompatibleReportId;
    }
    return HidStatus::Success;
}

std::optional<uint16_t> ArrayUsage(const HidButtonCaps& caps, uint64_t index) {
    for (const HidUsageRange& range : caps.arrayUsages) {
        const uint64_t count = uint64_t{range.max} - range.min + 1;
        if (index < count) {
            return static_cast<uint16_t>(range.min + index);
        }
        index -= count;
    }
    return std::nullopt;
}

// Calls `on` for each usage of the capability that is on in the report, in field order. Usage
// 0 means "no usage" and is never reported.
template <typename OnUsage>
void ForEachUsageOn(const HidButtonCaps& caps, std::span<const uint8_t> report, OnUsage on) {
    if (caps.isArray) {
        for (uint32_t element = 0; element < caps.reportCount; ++element) {
            const std::optional<uint32_t> raw =
                ReadElement(report, caps.bitOffset, caps.bitSize, element);
            if (!raw) {
                return;
            }
            const int64_t value = LogicalValue(*raw, caps.bitSize, caps.logicalMin);
            if (value < caps.logicalMin || value > caps.logicalMax) {
                continue;
            }
            const std::optional<uint16_t> usage =
                ArrayUsage(caps, static_cast<uint64_t>(value - caps.logicalMin));
            if (usage && *usage != 0) {
                on(*usage);
            }
        }
        return;
    }
    // Fields beyond the usages repeat the last usage, which is on when any of them is set.
    const uint32_t usageCount = uint32_t{caps.usageMax} - caps.usageMin + 1;
    for (uint32_t element = 0; element < caps.reportCount; ++element) {
        const std::optional<uint32_t> bit = ReadElement(report, caps.bitOffset, 1, element);
        if (!bit) {
            return;
        }
        const uint32_t index = std::min(element, usageCount - 1);
        const auto usage = static_cast<uint16_t>(caps.usageMin + index);
        if (*bit == 0 || usage == 0) {
            continue;
        }
        on(usage);
        if (index == usageCount - 1) {
            return;
        }
    }
}

// Finds the value capability and element that hold `usage` in this report.
HidStatus FindValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                    std::span<const uint8_t> report, const HidValueCaps*& found,
                    uint32_t& element) {
    const HidStatus status = CheckInputReport(caps, report);
    if (status != HidStatus::Success) {
        return status;
    }
    bool inOtherReport = false;
    for (const HidValueCaps& value : caps.inputValueCaps) {
        if (value.usagePage != usagePage || usage < value.usageMin || usage > value.usageMax) {
            continue;
        }
        if (value.reportId != report[0]) {
            inOtherReport = true;
            continue;
        }
        found = &value;
        element = uint32_t{usage} - value.usageMin;
        return HidStatus::Success;
    }
    return inOtherReport ? HidStatus::IncompatibleReportId : HidStatus::UsageNotFound;
}

}  // namespace

HidDescriptorParse ParseReportDescriptor(std::span<const uint8_t> descriptor) {
    return DescriptorParser(descriptor).Run();
}

uint32_t MaxUsageListLength(const HidCollectionCaps& caps, uint16_t usagePage) {
    uint32_t length = 0;
    for (const HidButtonCaps& button : caps.inputButtonCaps) {
        if (usagePage != 0 && button.usagePage != usagePage) {
            continue;
        }
        length +=
            button.isArray ? button.reportCount : uint32_t{button.usageMax} - button.usageMin + 1;
    }
    return length;
}

HidStatus GetUsages(const HidCollectionCaps& caps, uint16_t usagePage,
                    std::span<const uint8_t> report, std::vector<uint16_t>& usages,
                    uint32_t maxCount) {
    usages.clear();
    const HidStatus status = CheckInputReport(caps, report);
    if (status != HidStatus::Success) {
        return status;
    }
    bool pageFound = false;
    bool reportFound = false;
    bool overflow = false;
    for (const HidButtonCaps& button : caps.inputButtonCaps) {
        if (button.usagePage != usagePage) {
            continue;
        }
        pageFound = true;
        if (button.reportId != report[0]) {
            continue;
        }
        reportFound = true;
        ForEachUsageOn(button, report, [&](uint16_t usage) {
            if (usages.size() < maxCount) {
                usages.push_back(usage);
            } else {
                overflow = true;
            }
        });
    }
    if (!pageFound) {
        return HidStatus::UsageNotFound;
    }
    if (!reportFound) {
        return HidStatus::IncompatibleReportId;
    }
    return overflow ? HidStatus::BufferTooSmall : HidStatus::Success;
}

HidStatus GetUsageValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                        std::span<const uint8_t> report, uint32_t& value) {
    value = 0;
    const HidValueCaps* found = nullptr;
    uint32_t element = 0;
    const HidStatus status = FindValue(caps, usagePage, usage, report, found, element);
    if (status != HidStatus::Success) {
        return status;
    }
    const std::optional<uint32_t> raw =
        ReadElement(report, found->bitOffset, found->bitSize, element);
    if (!raw) {
        return HidStatus::InvalidReportLength;
    }
    value = *raw;
    return HidStatus::Success;
}

HidStatus GetScaledUsageValue(const HidCollectionCaps& caps, uint16_t usagePage, uint16_t usage,
                              std::span<const uint8_t> report, int32_t& value) {
    value = 0;
    const HidValueCaps* found = nullptr;
    uint32_t element = 0;
    const HidStatus status = FindValue(caps, usagePage, usage, report, found, element);
    if (status != HidStatus::Success) {
        return status;
    }
    if (found->logicalMin >= found->logicalMax || found->physicalMin >= found->physicalMax) {
        return HidStatus::BadLogPhyValues;
    }
    const std::optional<uint32_t> raw =
        ReadElement(report, found->bitOffset, found->bitSize, element);
    if (!raw) {
        return HidStatus::InvalidReportLength;
    }
    const int64_t logical = LogicalValue(*raw, found->bitSize, found->logicalMin);
    if (logical < found->logicalMin || logical > found->logicalMax) {
        return found->hasNull ? HidStatus::Null : HidStatus::ValueOutOfRange;
    }
    // Both spans are below 2^32, so their product fits 64 unsigned bits.
    const auto logicalSpan = static_cast<uint64_t>(int64_t{found->logicalMax} - found->logicalMin);
    const auto physicalSpan =
        static_cast<uint64_t>(int64_t{found->physicalMax} - found->physicalMin);
    const auto step = static_cast<uint64_t>(logical - found->logicalMin);
    const auto scaled = static_cast<int64_t>(step * physicalSpan / logicalSpan);
    value = static_cast<int32_t>(found->physicalMin + scaled);
    return HidStatus::Success;
}

}  // namespace zarvin
