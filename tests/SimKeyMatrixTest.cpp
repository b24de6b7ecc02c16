#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "keyboard/KeyboardModel.h"
#include "sim/SimModel.h"

namespace zarvin::sim {
namespace {

// The 106 keys of the keyboard view: key code (set-1 make code, 0x100 + code when extended)
// and the HID usage the keyboard sends for it, or the modifier bit for the eight modifiers.
struct KeyRow {
    uint16_t code;
    uint8_t usage;
    uint8_t modifierBit;
};

const std::vector<KeyRow> kKeys = {
    {0x01E, 0x04, 0}, {0x030, 0x05, 0}, {0x02E, 0x06, 0}, {0x020, 0x07, 0},  // A B C D
    {0x012, 0x08, 0}, {0x021, 0x09, 0}, {0x022, 0x0A, 0}, {0x023, 0x0B, 0},  // E F G H
    {0x017, 0x0C, 0}, {0x024, 0x0D, 0}, {0x025, 0x0E, 0}, {0x026, 0x0F, 0},  // I J K L
    {0x032, 0x10, 0}, {0x031, 0x11, 0}, {0x018, 0x12, 0}, {0x019, 0x13, 0},  // M N O P
    {0x010, 0x14, 0}, {0x013, 0x15, 0}, {0x01F, 0x16, 0}, {0x014, 0x17, 0},  // Q R S T
    {0x016, 0x18, 0}, {0x02F, 0x19, 0}, {0x011, 0x1A, 0}, {0x02D, 0x1B, 0},  // U V W X
    {0x015, 0x1C, 0}, {0x02C, 0x1D, 0},                                      // Y Z
    {0x002, 0x1E, 0}, {0x003, 0x1F, 0}, {0x004, 0x20, 0}, {0x005, 0x21, 0},  // 1 2 3 4
    {0x006, 0x22, 0}, {0x007, 0x23, 0}, {0x008, 0x24, 0}, {0x009, 0x25, 0},  // 5 6 7 8
    {0x00A, 0x26, 0}, {0x00B, 0x27, 0},                                      // 9 0
    {0x01C, 0x28, 0}, {0x001, 0x29, 0}, {0x00E, 0x2A, 0}, {0x00F, 0x2B, 0},  // Enter Esc BS Tab
    {0x039, 0x2C, 0}, {0x00C, 0x2D, 0}, {0x00D, 0x2E, 0}, {0x01A, 0x2F, 0},  // Space - = [
    {0x01B, 0x30, 0}, {0x027, 0x33, 0}, {0x028, 0x34, 0}, {0x029, 0x35, 0},  // ] ; ' `
    {0x033, 0x36, 0}, {0x034, 0x37, 0}, {0x035, 0x38, 0},                    // , . /
    {0x03B, 0x3A, 0}, {0x03C, 0x3B, 0}, {0x03D, 0x3C, 0}, {0x03E, 0x3D, 0},  // F1-F4
    {0x03F, 0x3E, 0}, {0x040, 0x3F, 0}, {0x041, 0x40, 0}, {0x042, 0x41, 0},  // F5-F8
    {0x043, 0x42, 0}, {0x044, 0x43, 0}, {0x057, 0x44, 0}, {0x058, 0x45, 0},  // F9-F12
    {0x137, 0x46, 0}, {0x045, 0x48, 0}, {0x152, 0x49, 0}, {0x153, 0x4C, 0},  // PrtSc Pause Ins Del
    {0x147, 0x4A, 0}, {0x14F, 0x4D, 0}, {0x149, 0x4B, 0}, {0x151, 0x4E, 0},  // Home End PgUp PgDn
    {0x148, 0x52, 0}, {0x150, 0x51, 0}, {0x14B, 0x50, 0}, {0x14D, 0x4F, 0},  // arrows
    {0x046, 0x47, 0}, {0x03A, 0x39, 0}, {0x15D, 0x65, 0},                    // ScrLk Caps Menu
    {0x01D, 0, 0x01}, {0x11D, 0, 0x10}, {0x02A, 0, 0x02}, {0x036, 0, 0x20},  // Ctrl, Shift
    {0x038, 0, 0x04}, {0x138, 0, 0x40}, {0x15B, 0, 0x08}, {0x15C, 0, 0x80},  // Alt, Windows
    {0x04F, 0x59, 0}, {0x050, 0x5A, 0}, {0x051, 0x5B, 0}, {0x04B, 0x5C, 0},  // Num 1-4
    {0x04C, 0x5D, 0}, {0x04D, 0x5E, 0}, {0x047, 0x5F, 0}, {0x048, 0x60, 0},  // Num 5-8
    {0x049, 0x61, 0}, {0x052, 0x62, 0}, {0x145, 0x53, 0}, {0x11C, 0x58, 0},  // Num 9 0 Lock Enter
    {0x053, 0x63, 0}, {0x135, 0x54, 0}, {0x037, 0x55, 0}, {0x04A, 0x56, 0},  // Num . / * -
    {0x04E, 0x57, 0},                                                        // Num +
    {0x056, 0x64, 0}, {0x02B, 0x31, 0}, {0x073, 0x87, 0},  // ISO backslash, ISO hash, Ro
};

constexpr uint16_t kFn = 0xF000;  // stands for Fn in the decoded list

// The key at a position: the key code, G key n as 0x1FF + n, kFn, or 0 for an empty position.
// Fails the test on an entry of any other kind.
uint16_t Decode(std::span<const uint8_t> entry) {
    if (entry[0] == 0x02 && entry[1] == 0x02) {
        for (const KeyRow& key : kKeys) {
            if (key.modifierBit == 0 && key.usage == entry[2]) {
                return key.code;
            }
        }
    } else if (entry[0] == 0x02 && entry[1] == 0x01) {
        for (const KeyRow& key : kKeys) {
            if (key.modifierBit == entry[2]) {
                return key.code;
            }
        }
    } else if (entry[0] == 0x06 && entry[1] == 0xA2 && entry[2] >= 1 && entry[2] <= 9) {
        return static_cast<uint16_t>(0x1FF + entry[2]);
    } else if (std::equal(entry.begin(), entry.end(), std::begin(kFnEntry))) {
        return kFn;
    } else if (entry[0] == 0 && entry[1] == 0 && entry[2] == 0) {
        return 0;
    }
    ADD_FAILURE() << "unexpected entry " << int{entry[0]} << " " << int{entry[1]} << " "
                  << int{entry[2]};
    return 0;
}

class FactoryKeyMatrixOf : public testing::TestWithParam<SimModel> {};

TEST_P(FactoryKeyMatrixOf, HoldsEveryKeyGKeyAndFnExactlyOnce) {
    const KeyboardModel& info = InfoOf(GetParam());
    const std::span<const uint8_t> matrix = info.factoryKeyMatrix;
    ASSERT_EQ(matrix.size(), info.keyMapLength);

    std::map<uint16_t, int> seen;
    for (int position = 0; position < info.keyCount; ++position) {
        const uint16_t key = Decode(matrix.subspan(3 * static_cast<size_t>(position), 3));
        if (key != 0) {
            ++seen[key];
        }
    }
    ASSERT_EQ(kKeys.size(), 106u);
    for (const KeyRow& key : kKeys) {
        EXPECT_EQ(seen[key.code], 1) << "key code " << std::hex << key.code;
    }
    for (uint16_t g = 1; g <= 9; ++g) {
        EXPECT_EQ(seen[static_cast<uint16_t>(0x1FF + g)], 1) << "G" << g;
    }
    EXPECT_EQ(seen[kFn], 1) << "Fn";
    EXPECT_EQ(seen.size(), 106u + 9u + 1u) << "nothing else";
}

TEST_P(FactoryKeyMatrixOf, LeavesThePositionsTheHostOverwritesAndTheTailEmpty) {
    const KeyboardModel& info = InfoOf(GetParam());
    const std::span<const uint8_t> matrix = info.factoryKeyMatrix;
    for (size_t position : {99u, 106u}) {
        EXPECT_EQ(Decode(matrix.subspan(3 * position, 3)), 0) << "position " << position;
    }
    const auto tail = matrix.subspan(3 * static_cast<size_t>(info.keyCount));
    EXPECT_TRUE(std::all_of(tail.begin(), tail.end(), [](uint8_t byte) { return byte == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Models, FactoryKeyMatrixOf,
                         testing::Values(SimModel::Keyboard126, SimModel::Keyboard128),
                         [](const testing::TestParamInfo<SimModel>& model) {
                             return std::string("Keys") + std::string(InfoOf(model.param).name);
                         });

}  // namespace
}  // namespace zarvin::sim
