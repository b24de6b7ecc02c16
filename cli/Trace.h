#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zarvin::cli {

// "> 04 01 00 ..." for a report sent, "< ..." for one received.
std::string FormatTraceLine(bool outgoing, std::span<const uint8_t> report);

}  // namespace zarvin::cli
