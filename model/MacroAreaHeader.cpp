#include "model/MacroAreaHeader.h"

namespace zarvin {
namespace {

uint16_t Le16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

MacroAreaHeader MacroAreaHeader::Parse(std::span<const uint8_t> bytes) {
    MacroAreaHeader header;
    if (bytes.size() < kSize) {
        return header;
    }
    header.magic = Le16(bytes, 0);
    header.length = Le16(bytes, 2);
    header.macroCount = Le16(bytes, 4);
    header.namesFlag = Le16(bytes, 6);
    return header;
}

}  // namespace zarvin
