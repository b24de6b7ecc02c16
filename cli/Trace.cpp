#include "cli/Trace.h"

namespace zarvin::cli {

std::string FormatTraceLine(bool outgoing, std::span<const uint8_t> report) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line(1, outgoing ? '>' : '<');
    line.reserve(1 + 3 * report.size());
    for (const uint8_t byte : report) {
        line += ' ';
        line += kHex[byte >> 4];
        line += kHex[byte & 0x0F];
    }
    return line;
}

}  // namespace zarvin::cli
