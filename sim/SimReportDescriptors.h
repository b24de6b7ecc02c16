#pragma once

// The report descriptors of the stand-in's two HID interfaces, as a real keyboard reports them.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zarvin::sim {

// Report id of the consumer-control interface's one input report.
inline constexpr uint8_t kEventReportId = 0x03;
// Report id, then the event code (16-bit little-endian).
inline constexpr size_t kEventReportSize = 3;

// Vendor page 0xFF1C usage 0x92: report 4, 63 bytes in, 63 bytes out.
const std::vector<uint8_t>& CommandReportDescriptor();

// Consumer page usage 1: report 3, one 16-bit array field of consumer usages 0-0x1FFF.
const std::vector<uint8_t>& EventReportDescriptor();

}  // namespace zarvin::sim
