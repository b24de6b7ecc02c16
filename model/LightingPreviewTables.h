#pragma once

// The fixed tables the lighting preview draws from: the key grid, the sweep order, the rings
// around O, the colour and level tables, the sparkle sequence and the typing script. Keys are
// named by the key codes of their buttons in model/KeyboardLayout; Fn, which has no key code,
// is named by 0 as it is there.

#include <array>
#include <cstdint>
#include <span>

namespace zarvin::preview {

using KeyId = uint16_t;
inline constexpr KeyId kNoKey = 0xFFFF;

namespace key {
inline constexpr KeyId Fn = 0x000;
inline constexpr KeyId Esc = 0x001;
inline constexpr KeyId Digit1 = 0x002;
inline constexpr KeyId Digit2 = 0x003;
inline constexpr KeyId Digit3 = 0x004;
inline constexpr KeyId Digit4 = 0x005;
inline constexpr KeyId Digit5 = 0x006;
inline constexpr KeyId Digit6 = 0x007;
inline constexpr KeyId Digit7 = 0x008;
inline constexpr KeyId Digit8 = 0x009;
inline constexpr KeyId Digit9 = 0x00A;
inline constexpr KeyId Digit0 = 0x00B;
inline constexpr KeyId Minus = 0x00C;
inline constexpr KeyId Equals = 0x00D;
inline constexpr KeyId Backspace = 0x00E;
inline constexpr KeyId Tab = 0x00F;
inline constexpr KeyId Q = 0x010;
inline constexpr KeyId W = 0x011;
inline constexpr KeyId E = 0x012;
inline constexpr KeyId R = 0x013;
inline constexpr KeyId T = 0x014;
inline constexpr KeyId Y = 0x015;
inline constexpr KeyId U = 0x016;
inline constexpr KeyId I = 0x017;
inline constexpr KeyId O = 0x018;
inline constexpr KeyId P = 0x019;
inline constexpr KeyId LeftBracket = 0x01A;
inline constexpr KeyId RightBracket = 0x01B;
inline constexpr KeyId Enter = 0x01C;
inline constexpr KeyId LeftCtrl = 0x01D;
inline constexpr KeyId A = 0x01E;
inline constexpr KeyId S = 0x01F;
inline constexpr KeyId D = 0x020;
inline constexpr KeyId F = 0x021;
inline constexpr KeyId G = 0x022;
inline constexpr KeyId H = 0x023;
inline constexpr KeyId J = 0x024;
inline constexpr KeyId K = 0x025;
inline constexpr KeyId L = 0x026;
inline constexpr KeyId Semicolon = 0x027;
inline constexpr KeyId Apostrophe = 0x028;
inline constexpr KeyId Grave = 0x029;
inline constexpr KeyId LeftShift = 0x02A;
inline constexpr KeyId IsoHash = 0x02B;  // the backslash key beside Enter
inline constexpr KeyId Z = 0x02C;
inline constexpr KeyId X = 0x02D;
inline constexpr KeyId C = 0x02E;
inline constexpr KeyId V = 0x02F;
inline constexpr KeyId B = 0x030;
inline constexpr KeyId N = 0x031;
inline constexpr KeyId M = 0x032;
inline constexpr KeyId Comma = 0x033;
inline constexpr KeyId Period = 0x034;
inline constexpr KeyId Slash = 0x035;
inline constexpr KeyId RightShift = 0x036;
inline constexpr KeyId NumStar = 0x037;
inline constexpr KeyId LeftAlt = 0x038;
inline constexpr KeyId Space = 0x039;
inline constexpr KeyId CapsLock = 0x03A;
inline constexpr KeyId F1 = 0x03B;
inline constexpr KeyId F2 = 0x03C;
inline constexpr KeyId F3 = 0x03D;
inline constexpr KeyId F4 = 0x03E;
inline constexpr KeyId F5 = 0x03F;
inline constexpr KeyId F6 = 0x040;
inline constexpr KeyId F7 = 0x041;
inline constexpr KeyId F8 = 0x042;
inline constexpr KeyId F9 = 0x043;
inline constexpr KeyId F10 = 0x044;
inline constexpr KeyId Pause = 0x045;
inline constexpr KeyId ScrollLock = 0x046;
inline constexpr KeyId Num7 = 0x047;
inline constexpr KeyId Num8 = 0x048;
inline constexpr KeyId Num9 = 0x049;
inline constexpr KeyId NumMinus = 0x04A;
inline constexpr KeyId Num4 = 0x04B;
inline constexpr KeyId Num5 = 0x04C;
inline constexpr KeyId Num6 = 0x04D;
inline constexpr KeyId NumPlus = 0x04E;
inline constexpr KeyId Num1 = 0x04F;
inline constexpr KeyId Num2 = 0x050;
inline constexpr KeyId Num3 = 0x051;
inline constexpr KeyId Num0 = 0x052;
inline constexpr KeyId NumDot = 0x053;
inline constexpr KeyId IsoBackslash = 0x056;  // left of Z
inline constexpr KeyId F11 = 0x057;
inline constexpr KeyId F12 = 0x058;
inline constexpr KeyId Ro = 0x073;  // International 1
inline constexpr KeyId NumEnter = 0x11C;
inline constexpr KeyId RightCtrl = 0x11D;
inline constexpr KeyId NumSlash = 0x135;
inline constexpr KeyId PrintScreen = 0x137;
inline constexpr KeyId RightAlt = 0x138;
inline constexpr KeyId NumLock = 0x145;
inline constexpr KeyId Home = 0x147;
inline constexpr KeyId Up = 0x148;
inline constexpr KeyId PageUp = 0x149;
inline constexpr KeyId Left = 0x14B;
inline constexpr KeyId Right = 0x14D;
inline constexpr KeyId End = 0x14F;
inline constexpr KeyId Down = 0x150;
inline constexpr KeyId PageDown = 0x151;
inline constexpr KeyId Insert = 0x152;
inline constexpr KeyId Delete = 0x153;
inline constexpr KeyId LeftWindows = 0x15B;
inline constexpr KeyId RightWindows = 0x15C;
inline constexpr KeyId Menu = 0x15D;
}  // namespace key

inline constexpr int kGridColumns = 23;
inline constexpr int kGridRows = 6;
inline constexpr int kSweepKeyCount = 106;
// Right Windows has no place of its own in the tables; it shares the grid cell beside Right Alt
// and shows that key's light.
inline constexpr KeyId kSharedCellKey = key::RightWindows;
inline constexpr KeyId kSharedCellOwner = key::RightAlt;
inline constexpr int kRingCount = 12;
inline constexpr int kPaletteSize = 192;
inline constexpr int kBreathingSize = 96;
inline constexpr int kPulseSize = 128;
inline constexpr int kCometSize = 129;
inline constexpr int kTypingRowCount = 20;
inline constexpr int kTypingPairCount = 16;

// Column by column from the left edge to the numeric pad; row 0 is the function row. A wide key
// fills two cells; kNoKey marks an empty cell.
extern const std::array<std::array<KeyId, kGridRows>, kGridColumns> kGrid;

// The order in which the sweep effects and the cell sets address the keys.
extern const std::array<KeyId, kSweepKeyCount> kSweepOrder;

// Rings of keys around O, ring 0 being O itself.
extern const std::array<std::span<const KeyId>, kRingCount> kRings;

// Colour values red | green << 8 | blue << 16: six segments of 32 around the hue circle.
extern const std::array<uint32_t, kPaletteSize> kRainbow;

// Levels 0-255 of the breathing, pulse and comet curves.
extern const std::array<uint8_t, kBreathingSize> kBreathing;
extern const std::array<uint8_t, kPulseSize> kPulse;
extern const std::array<uint8_t, kCometSize> kComet;

// Sweep positions lit by the sparkle effect, three per frame.
extern const std::array<uint8_t, kSweepKeyCount> kSparkleSequence;

// The typing demonstration: the keys struck at each step of its first phase, then the pairs
// of its second phase.
extern const std::array<std::span<const KeyId>, kTypingRowCount> kTypingRows;
extern const std::array<std::array<KeyId, 2>, kTypingPairCount> kTypingPairs;

// How much a cell's level drops per frame, by band of the level.
struct DecayBands {
    uint8_t from128;
    uint8_t from64;
    uint8_t from32;
    uint8_t from17;
    uint8_t from1;
};
extern const DecayBands kWaveDecay;    // effect 13
extern const DecayBands kTypingDecay;  // effect 14
extern const DecayBands kCommonDecay;  // every other cell effect

}  // namespace zarvin::preview
