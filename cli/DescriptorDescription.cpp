#include "cli/DescriptorDescription.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <system_error>

#include "platform/WholeFile.h"

namespace zarvin {
namespace {

// Hex text with comments can be far longer than the bytes it holds, but not without end.
constexpr size_t kMaxDescriptorFileBytes = size_t{1} << 20;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

uint8_t HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint8_t>(c - '0');
    }
    return static_cast<uint8_t>((c | 0x20) - 'a' + 10);
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

bool IsCommentStart(std::string_view text, size_t at) {
    return text[at] == '#' || (text[at] == '/' && at + 1 < text.size() && text[at + 1] == '/');
}

bool IsControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r') || byte == 0x7F;
}

// Outside its comments, text holds only hex digits, "0x" prefixes, commas and white space, and
// its comments hold no control characters. Raw descriptor bytes (items like 0x05, 0xA1, 0xC0)
// fail this at once.
bool IsHexText(std::string_view text) {
    for (size_t at = 0; at < text.size(); ++at) {
        if (IsCommentStart(text, at)) {
            for (; at < text.size() && text[at] != '\n'; ++at) {
                if (IsControlCharacter(text[at])) {
                    return false;
                }
            }
            continue;
        }
        const char c = text[at];
        if (!IsHexDigit(c) && !IsSeparator(c) && c != 'x' && c != 'X') {
            return false;
        }
    }
    return true;
}

// One token: "05", "0x05", "0x5" or a long run like "05010906".
bool AppendHexToken(std::string_view token, std::vector<uint8_t>& bytes, std::string& problem) {
    const bool prefixed = token.size() >= 2 && token[0] == '0' && (token[1] | 0x20) == 'x';
    std::string_view digits = token.substr(prefixed ? 2 : 0);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsHexDigit)) {
        problem = "is not a hex number";
        return false;
    }
    if (prefixed && digits.size() == 1) {
        bytes.push_back(HexDigitValue(digits[0]));
        return true;
    }
    if (digits.size() % 2 != 0) {
        problem = "has an odd number of hex digits";
        return false;
    }
    for (size_t at = 0; at < digits.size(); at += 2) {
        bytes.push_back(
            static_cast<uint8_t>(HexDigitValue(digits[at]) << 4 | HexDigitValue(digits[at + 1])));
    }
    return true;
}

bool ParseHexText(std::string_view text, std::vector<uint8_t>& bytes, std::string& error) {
    size_t line = 1;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == '\n') {
            ++line;
        }
        if (IsSeparator(text[at])) {
            ++at;
            continue;
        }
        if (IsCommentStart(text, at)) {
            at = std::min(text.find('\n', at), text.size());
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsSeparator(text[end]) && !IsCommentStart(text, end)) {
            ++end;
        }
        const std::string_view token = text.substr(at, end - at);
        std::string problem;
        if (!AppendHexToken(token, bytes, problem)) {
            error = "line " + std::to_string(line) + ": '" + std::string(token) + "' " + problem;
            return false;
        }
        at = end;
    }
    return true;
}

std::string Hex4(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string UsageText(uint16_t min, uint16_t max) {
    return min == max ? Hex4(min) : Hex4(min) + ".." + Hex4(max);
}

// One input field that carries data, as both forms print it.
struct Field {
    const char* kind;  // "button" or "value"
    uint16_t usagePage;
    uint16_t usageMin;
    uint16_t usageMax;
    uint8_t reportId;
    uint32_t bitOffset;
    uint16_t bitSize;
    uint16_t reportCount;
    int32_t logicalMin;
    int32_t logicalMax;
    bool isArray;
};

std::string FieldText(const Field& field) {
    return std::string("  ") + field.kind + " page " + Hex4(field.usagePage) + " usage " +
           UsageText(field.usageMin, field.usageMax) + " report " +
           std::to_string(field.reportId) + " bit " + std::to_string(field.bitOffset) + " size " +
           std::to_string(field.bitSize) + "x" + std::to_string(field.reportCount) + " logical " +
           std::to_string(field.logicalMin) + ".." + std::to_string(field.logicalMax) +
           (field.isArray ? " array\n" : " variable\n");
}

// The collection's input fields in report order (report ids in first-seen order, then bit
// offset).
std::vector<Field> SortedFields(const HidCollectionCaps& caps) {
    std::vector<Field> fields;
    for (const HidButtonCaps& button : caps.inputButtonCaps) {
        fields.push_back({"button", button.usagePage, button.usageMin, button.usageMax,
                          button.reportId, button.bitOffset, button.bitSize, button.reportCount,
                          button.logicalMin, button.logicalMax, button.isArray});
    }
    for (const HidValueCaps& value : caps.inputValueCaps) {
        fields.push_back({"value", value.usagePage, value.usageMin, value.usageMax, value.reportId,
                          value.bitOffset, value.bitSize, value.reportCount, value.logicalMin,
                          value.logicalMax, false});
    }
    const auto reportOrder = [&caps](uint8_t id) {
        const auto& ids = caps.inputReportIds;
        return std::find(ids.begin(), ids.end(), id) - ids.begin();
    };
    std::stable_sort(fields.begin(), fields.end(), [&](const Field& a, const Field& b) {
        return reportOrder(a.reportId) != reportOrder(b.reportId)
                   ? reportOrder(a.reportId) < reportOrder(b.reportId)
                   : a.bitOffset < b.bitOffset;
    });
    return fields;
}

}  // namespace

bool LoadDescriptorFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                        std::string& error) {
    bytes.clear();
    error.clear();
    const std::string name = path.string();
    std::error_code status;
    if (std::filesystem::is_directory(path, status)) {
        error = name + " is a folder, not a descriptor file";
        return false;
    }
    // Never blocks: a named pipe or a device given as the file is refused, not waited on.
    const FileContents file = ReadWholeFile(path, kMaxDescriptorFileBytes);
    if (file.status != FileReadStatus::kRead) {
        error = std::string(file.status == FileReadStatus::kMissing ? "cannot open " : "cannot read ") +
                name + ": " + file.error;
        return false;
    }
    const std::string& content = file.bytes;
    if (content.empty()) {
        error = name + " is empty";
        return false;
    }

    std::string_view text = content;
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    if (IsHexText(text)) {
        std::string problem;
        if (!ParseHexText(text, bytes, problem)) {
            bytes.clear();
            error = name + ": " + problem;
            return false;
        }
        if (bytes.empty()) {
            error = name + " holds no descriptor bytes";
            return false;
        }
    } else {
        bytes.assign(content.begin(), content.end());
    }
    if (bytes.size() > kMaxReportDescriptorSize) {
        error = name + " holds " + std::to_string(bytes.size()) + " bytes, more than the " +
                std::to_string(kMaxReportDescriptorSize) + " of a report descriptor";
        bytes.clear();
        return false;
    }
    return true;
}

std::string DescribeDescriptor(const HidDescriptorParse& parse) {
    std::string text;
    for (size_t index = 0; index < parse.collections.size(); ++index) {
        const HidCollectionCaps& caps = parse.collections[index];
        text += "collection " + std::to_string(index + 1) + ": usage page " + Hex4(caps.usagePage) +
                " usage " + Hex4(caps.usage) + " input " +
                std::to_string(caps.inputReportByteLength) + " output " +
                std::to_string(caps.outputReportByteLength) + " feature " +
                std::to_string(caps.featureReportByteLength) + "\n";
        for (const Field& field : SortedFields(caps)) {
            text += FieldText(field);
        }
    }
    return text;
}

cli::JsonValue DescribeDescriptorJson(const HidDescriptorParse& parse) {
    cli::JsonValue collections = cli::JsonValue::array();
    for (const HidCollectionCaps& caps : parse.collections) {
        cli::JsonValue fields = cli::JsonValue::array();
        for (const Field& field : SortedFields(caps)) {
            fields.push_back({{"kind", field.kind},
                              {"usagePage", field.usagePage},
                              {"usageMin", field.usageMin},
                              {"usageMax", field.usageMax},
                              {"report", field.reportId},
                              {"bit", field.bitOffset},
                              {"size", field.bitSize},
                              {"count", field.reportCount},
                              {"logicalMin", field.logicalMin},
                              {"logicalMax", field.logicalMax},
                              {"array", field.isArray}});
        }
        collections.push_back({{"usagePage", caps.usagePage},
                               {"usage", caps.usage},
                               {"inputBytes", caps.inputReportByteLength},
                               {"outputBytes", caps.outputReportByteLength},
                               {"featureBytes", caps.featureReportByteLength},
                               {"fields", std::move(fields)}});
    }
    return cli::JsonValue{{"collections", std::move(collections)}};
}

}  // namespace zarvin
