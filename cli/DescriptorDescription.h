#pragma once

// `zarvinctl describe`: a report descriptor read from a file and told as text.
//
// DescribeDescriptor writes, for each top-level collection in descriptor order:
//
//   collection 1: usage page 0x0001 usage 0x0006 input 9 output 2 feature 0
//     button page 0x0007 usage 0x00E0..0x00E7 report 0 bit 0 size 1x8 logical 0..1 variable
//     button page 0x0007 usage 0x0000..0x0065 report 0 bit 16 size 8x6 logical 0..101 array
//
// The collection line gives the report byte lengths as Windows counts them (with the report id
// byte, 0 when the collection has no report of that kind). Then one line per input field that
// carries data, in report order (report ids in first-seen order, then bit offset):
//   button | value  a 1-bit or array field | a wider variable field
//   page, usage     its usage page, and its usage or first..last usage (for an array field,
//                   the lowest..highest usage its values select)
//   report          the report id, 0 when the device uses none
//   bit             where the field starts, in bits after the report id byte
//   size            bits per element x element count
//   logical         the logical minimum..maximum
//   array|variable  whether each element selects a usage or each element is one usage
// Constant (padding) fields are left out. Every line ends with a newline.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/JsonOutput.h"
#include "device/HidReportDescriptor.h"

namespace zarvin {

// Reads descriptor bytes from a file that holds them either raw or as hex text ("05 01 09 06",
// "0x05, 0x01", or one long run of digits; '#' and '//' start comments that run to the end of
// the line). A file whose content is nothing but such text is read as text. At most
// kMaxReportDescriptorSize bytes.
bool LoadDescriptorFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                        std::string& error);

// Lists the collections of a parse; a failed parse has none, so callers show its error instead.
std::string DescribeDescriptor(const HidDescriptorParse& parse);

// The same as {"collections": [{"usagePage", "usage", "inputBytes", "outputBytes",
// "featureBytes", "fields": [{"kind": "button"|"value", "usagePage", "usageMin", "usageMax",
// "report", "bit", "size", "count", "logicalMin", "logicalMax", "array"}]}]}.
cli::JsonValue DescribeDescriptorJson(const HidDescriptorParse& parse);

}  // namespace zarvin
