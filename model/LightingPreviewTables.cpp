#include "model/LightingPreviewTables.h"

#include <algorithm>
#include <iterator>

namespace zarvin::preview {
namespace {

using namespace key;

constexpr KeyId __ = kNoKey;

// Rising and falling halves of the rainbow's segments.
constexpr std::array<uint8_t, 32> kRising = {1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                             44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                             140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kFalling = {248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                              114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                              29,  24,  20,  16,  12,  8,   6,   4,   2,   0};

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

constexpr std::array<uint32_t, kPaletteSize> BuildRainbow() {
    std::array<uint32_t, kPaletteSize> palette{};
    for (size_t k = 0; k < 32; ++k) {
        const uint32_t up = kRising[k];
        const uint32_t down = kFalling[k];
        palette[k] = Rgb(255, up, 0);
        palette[32 + k] = Rgb(down, 255, 0);
        palette[64 + k] = Rgb(0, 255, up);
        palette[96 + k] = Rgb(0, down, 255);
        palette[128 + k] = Rgb(up, 0, 255);
        palette[160 + k] = Rgb(255, 0, down);
    }
    return palette;
}

// The rising half of the breathing curve; it falls back the same way.
constexpr std::array<uint8_t, 48> kBreathingRise = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

// The pulse starts lower than the breathing curve, then follows its rise.
constexpr std::array<uint8_t, 16> kPulseFoot = {3,  3,  4,  5,  6,  7,  8,  9,
                                                10, 11, 12, 13, 14, 16, 18, 20};

template <size_t N>
constexpr std::array<uint8_t, 2 * N> Mirrored(const std::array<uint8_t, N>& rise) {
    std::array<uint8_t, 2 * N> curve{};
    for (size_t i = 0; i < N; ++i) {
        curve[i] = rise[i];
        curve[2 * N - 1 - i] = rise[i];
    }
    return curve;
}

constexpr std::array<uint8_t, kPulseSize / 2> BuildPulseRise() {
    std::array<uint8_t, kPulseSize / 2> rise{};
    for (size_t i = 0; i < kPulseFoot.size(); ++i) {
        rise[i] = kPulseFoot[i];
    }
    for (size_t i = 0; i < kBreathingRise.size(); ++i) {
        rise[kPulseFoot.size() + i] = kBreathingRise[i];
    }
    return rise;
}

// A sharp head and a long tail; everything past the tail is dark.
constexpr uint8_t kCometHead[] = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  94,  114, 134, 158, 182, 206, 234,
    255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158,
    152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,  81,  77,
    73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};

constexpr std::array<KeyId, 1> kRing0 = {O};
constexpr std::array<KeyId, 6> kRing1 = {Digit9, I, K, L, P, Digit0};
constexpr std::array<KeyId, 10> kRing2 = {F8,    Digit8, U,         J,           M,
                                          Comma, Period, Semicolon, LeftBracket, Minus};
constexpr std::array<KeyId, 12> kRing3 = {
    F7, Digit7, Y, H, N, RightAlt, Slash, Apostrophe, IsoHash, RightBracket, Equals, F9};
constexpr std::array<KeyId, 12> kRing4 = {F6, Digit6,     T,     G,         B,   Fn,
                                          Ro, RightShift, Enter, Backspace, F10, F11};
constexpr std::array<KeyId, 11> kRing5 = {F5,   Digit5,    R,      F,      V,  Space,
                                          Menu, RightCtrl, Delete, Insert, F12};
constexpr std::array<KeyId, 10> kRing6 = {F4, Digit4, E, D, C, Left, Up, End, Home, PrintScreen};
constexpr std::array<KeyId, 11> kRing7 = {F3,    Digit3,   W,      S,     X,         Down,
                                          Right, PageDown, PageUp, Pause, ScrollLock};
constexpr std::array<KeyId, 10> kRing8 = {F2, Digit2, Q, A, Z, LeftAlt, Num1, Num4, Num7, NumLock};
constexpr std::array<KeyId, 11> kRing9 = {F1,   Digit1, Tab,  CapsLock, IsoBackslash, LeftWindows,
                                          Num0, Num2,   Num5, Num8,     NumSlash};
constexpr std::array<KeyId, 9> kRing10 = {Esc,  Grave, LeftCtrl, NumDot,   Num3,
                                          Num6, Num9,  NumStar,  LeftShift};
constexpr std::array<KeyId, 3> kRing11 = {NumEnter, NumPlus, NumMinus};

constexpr std::array<KeyId, 2> kTyping0 = {Esc, NumEnter};
constexpr std::array<KeyId, 2> kTyping1 = {F1, NumDot};
constexpr std::array<KeyId, 2> kTyping2 = {F2, Num0};
constexpr std::array<KeyId, 4> kTyping3 = {F3, Right, Grave, NumEnter};
constexpr std::array<KeyId, 4> kTyping4 = {F4, Down, Digit1, Num3};
constexpr std::array<KeyId, 4> kTyping5 = {F5, Left, Digit2, Num2};
constexpr std::array<KeyId, 6> kTyping6 = {F6, RightCtrl, Digit3, Num1, Tab, NumPlus};
constexpr std::array<KeyId, 6> kTyping7 = {F7, Menu, Digit4, Up, Q, Num6};
constexpr std::array<KeyId, 6> kTyping8 = {F8, Fn, Digit5, RightShift, W, Num5};
constexpr std::array<KeyId, 6> kTyping9 = {F9, RightAlt, Digit6, Slash, E, Num4};
constexpr std::array<KeyId, 5> kTyping10 = {Equals, Comma, Digit7, Period, R};
constexpr std::array<KeyId, 5> kTyping11 = {RightBracket, K, Digit8, Comma, T};
constexpr std::array<KeyId, 6> kTyping12 = {Apostrophe, I, Digit9, K, Y, Enter};
constexpr std::array<KeyId, 6> kTyping13 = {Slash, Digit9, Digit0, I, U, Apostrophe};
constexpr std::array<KeyId, 6> kTyping14 = {Period, Digit0, P, Digit9, I, Semicolon};
constexpr std::array<KeyId, 6> kTyping15 = {Comma, Minus, L, Digit0, O, L};
constexpr std::array<KeyId, 6> kTyping16 = {K, Equals, K, P, P, K};
constexpr std::array<KeyId, 5> kTyping17 = {I, RightBracket, I, L, LeftBracket};
constexpr std::array<KeyId, 2> kTyping18 = {Digit9, Apostrophe};
constexpr std::array<KeyId, 2> kTyping19 = {Digit0, Slash};

}  // namespace

const std::array<std::array<KeyId, kGridRows>, kGridColumns> kGrid = {{
    {__, __, __, __, LeftShift, LeftCtrl},
    {__, Grave, Tab, CapsLock, IsoBackslash, LeftWindows},
    {Esc, Digit1, Q, A, Z, LeftAlt},
    {F1, Digit2, W, S, X, __},
    {F2, Digit3, E, D, C, __},
    {F3, Digit4, R, F, V, __},
    {F4, Digit5, T, G, B, Space},
    {__, Digit6, Y, H, N, __},
    {F5, Digit7, U, J, M, __},
    {F6, Digit8, I, K, Comma, RightAlt},
    {F7, Digit9, O, L, Period, RightAlt},
    {F8, Digit0, P, Semicolon, Slash, Fn},
    {F9, Minus, LeftBracket, Apostrophe, __, Menu},
    {F10, Equals, RightBracket, IsoHash, Ro, __},
    {F11, Backspace, __, Enter, RightShift, RightCtrl},
    {F12, Backspace, __, __, RightShift, RightCtrl},
    {PrintScreen, Insert, Delete, __, __, Left},
    {ScrollLock, Home, End, __, Up, Down},
    {Pause, PageUp, PageDown, __, __, Right},
    {__, NumLock, Num7, Num4, Num1, Num0},
    {__, NumSlash, Num8, Num5, Num2, Num0},
    {__, NumStar, Num9, Num6, Num3, NumDot},
    {__, NumMinus, __, NumPlus, NumEnter, __},
}};

// By position 0-105.
constexpr KeyId kSweepList[] = {
    Pause,
    ScrollLock,
    PrintScreen,
    F12,
    F11,
    F10,
    F9,
    F8,
    F7,
    F6,
    F5,
    F4,
    F3,
    F2,
    F1,
    Esc,
    Grave,
    Tab,
    CapsLock,
    LeftShift,
    LeftCtrl,
    LeftWindows,
    LeftAlt,
    Space,
    RightAlt,
    Fn,
    Menu,
    RightCtrl,
    Left,
    Down,
    Right,
    Num0,
    NumDot,
    NumEnter,
    NumPlus,
    NumMinus,
    NumStar,
    NumSlash,
    NumLock,
    PageUp,
    Home,
    Insert,
    Backspace,
    Equals,
    Minus,
    Digit0,
    Digit9,
    Digit8,
    Digit7,
    Digit6,
    Digit5,
    Digit4,
    Digit3,
    Digit2,
    Digit1,
    Q,
    A,
    IsoBackslash,
    Z,
    X,
    C,
    V,
    B,
    N,
    M,
    Comma,
    Period,
    Slash,
    Ro,
    RightShift,
    Up,
    Num1,
    Num2,
    Num3,
    Num4,
    Num5,
    Num6,
    Num9,
    Num8,
    Num7,
    PageDown,
    End,
    Delete,
    Enter,
    RightBracket,
    LeftBracket,
    P,
    O,
    I,
    U,
    Y,
    T,
    R,
    E,
    W,
    S,
    D,
    F,
    G,
    H,
    J,
    K,
    L,
    Semicolon,
    Apostrophe,
    IsoHash,
};
const std::array<KeyId, kSweepKeyCount> kSweepOrder = std::to_array(kSweepList);

const std::array<std::span<const KeyId>, kRingCount> kRings = {
    kRing0, kRing1, kRing2, kRing3, kRing4,  kRing5,
    kRing6, kRing7, kRing8, kRing9, kRing10, kRing11,
};

const std::array<uint32_t, kPaletteSize> kRainbow = BuildRainbow();

const std::array<uint8_t, kBreathingSize> kBreathing = Mirrored(kBreathingRise);

const std::array<uint8_t, kPulseSize> kPulse = Mirrored(BuildPulseRise());

const std::array<uint8_t, kCometSize> kComet = [] {
    static_assert(std::size(kCometHead) == 80);
    std::array<uint8_t, kCometSize> comet{};
    std::copy(std::begin(kCometHead), std::end(kCometHead), comet.begin());
    return comet;
}();

constexpr uint8_t kSparkleList[] = {
    88, 24, 101, 57, 16, 69, 35,  34, 36, 51, 78, 18,  12,  66, 97, 9,  33, 41, 55, 52, 48, 95,
    77, 70, 10,  23, 39, 3,  102, 17, 65, 22, 31, 4,   85,  76, 15, 60, 54, 21, 83, 94, 6,  61,
    49, 20, 5,   14, 68, 98, 71,  27, 81, 1,  0,  87,  46,  75, 37, 73, 32, 79, 8,  29, 72, 56,
    44, 99, 13,  47, 42, 93, 91,  80, 86, 89, 43, 28,  58,  59, 38, 53, 2,  62, 64, 90, 96, 74,
    92, 40, 25,  26, 7,  30, 50,  84, 45, 67, 19, 103, 100, 82, 11, 63, 0,  0,
};
const std::array<uint8_t, kSweepKeyCount> kSparkleSequence = std::to_array(kSparkleList);

const std::array<std::span<const KeyId>, kTypingRowCount> kTypingRows = {
    kTyping0,  kTyping1,  kTyping2,  kTyping3,  kTyping4,  kTyping5,  kTyping6,
    kTyping7,  kTyping8,  kTyping9,  kTyping10, kTyping11, kTyping12, kTyping13,
    kTyping14, kTyping15, kTyping16, kTyping17, kTyping18, kTyping19,
};

const std::array<std::array<KeyId, 2>, kTypingPairCount> kTypingPairs = {{
    {Digit9, Slash},
    {Digit0, Period},
    {Minus, Comma},
    {Equals, K},
    {RightBracket, I},
    {Apostrophe, Digit9},
    {Slash, Digit0},
    {Period, Minus},
    {Comma, Equals},
    {K, RightBracket},
    {I, Apostrophe},
    {O, Semicolon},
    {P, L},
    {LeftBracket, O},
    {Semicolon, P},
    {L, LeftBracket},
}};

const DecayBands kWaveDecay = {80, 50, 20, 5, 1};
const DecayBands kTypingDecay = {30, 20, 10, 5, 1};
const DecayBands kCommonDecay = {20, 16, 10, 5, 1};

}  // namespace zarvin::preview
