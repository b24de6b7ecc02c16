#include "model/LightingEffects.h"

#include <algorithm>
#include <array>

namespace zarvin {
namespace {

// The groups an effect shows, by the kinds of effect that share them.
constexpr EffectControls kMovingColour{
    .sendsMulticolour = true, .speed = true, .direction = true, .colourA = true};
constexpr EffectControls kColour{.sendsMulticolour = true, .speed = true, .colourA = true};
constexpr EffectControls kSingleColour{.speed = true, .colourA = true};
constexpr EffectControls kSpeed{.speed = true};
constexpr EffectControls kSpeedAndDirection{.speed = true, .direction = true};
constexpr EffectControls kDirection{.direction = true};
constexpr EffectControls kColourB{.colourB = true};
constexpr EffectControls kOptionColours{.optionColours = true};
constexpr EffectControls kUserModeTools{.userModeTools = true};

using A = EffectArrows;
using P = DirectionPlace;
using L = LightingPreview;
constexpr PreviewMotion kAnimated = PreviewMotion::Animated;
constexpr PreviewMotion kStill = PreviewMotion::Still;

constexpr std::array kEffects{
    LightingEffect{1, "1", kMovingColour, A::LeftRight, P::Second, &L::DrawColumns, kAnimated},
    LightingEffect{2, "2", kMovingColour, A::LeftRight, P::Second, &L::DrawComet, kAnimated},
    LightingEffect{3, "3", kMovingColour, A::LeftRight, P::Second, &L::DrawSweep, kAnimated},
    LightingEffect{4, "4", kSpeed, A::LeftRight, P::Usual, &L::DrawHueCycle, kAnimated},
    LightingEffect{5, "5", kColour, A::LeftRight, P::Usual, &L::DrawPulse, kAnimated},
    LightingEffect{6, "6", kColourB, A::LeftRight, P::Usual, &L::DrawRings, kStill},
    LightingEffect{7, "7", kColour, A::LeftRight, P::Usual, nullptr, kStill},
    LightingEffect{8, "8", kColour, A::LeftRight, P::Usual, nullptr, kStill},
    LightingEffect{9, "9", kColour, A::LeftRight, P::Usual, nullptr, kStill},
    LightingEffect{10, "10", kSingleColour, A::LeftRight, P::Usual, &L::DrawSparkle, kAnimated},
    LightingEffect{11, "11", kSpeed, A::LeftRight, P::Usual, &L::DrawHueDrift, kAnimated},
    LightingEffect{12, "12", kSpeedAndDirection, A::UpDown, P::Third, &L::DrawRows, kAnimated},
    LightingEffect{13, "13", kColour, A::LeftRight, P::Usual, &L::DrawWave, kAnimated},
    LightingEffect{14, "14", kColour, A::LeftRight, P::Usual, &L::DrawTyping, kAnimated},
    LightingEffect{15, "15", kColour, A::LeftRight, P::Usual, &L::DrawRain, kAnimated},
    LightingEffect{16, "16", kColourB, A::LeftRight, P::Usual, &L::DrawCornerWaves, kAnimated},
    LightingEffect{17, "17", kOptionColours, A::LeftRight, P::Usual, nullptr, kStill},
    LightingEffect{18, "18", kDirection, A::OutwardInward, P::Usual, &L::DrawRingSweep, kAnimated},
    LightingEffect{kUserModeEffect, "20", kUserModeTools, A::LeftRight, P::Usual,
                   &L::LeaveKeyColours, kStill},
};

constexpr LightingEffect kUnknownEffect{0, "", {}, A::LeftRight, P::Usual, nullptr, kStill};

// The keyboard lists at most 32 effects, and a list position must name one effect only.
static_assert(kEffects.size() <= 32);
static_assert(std::ranges::is_sorted(kEffects, std::ranges::less{}, &LightingEffect::code));
static_assert(std::ranges::adjacent_find(kEffects, std::ranges::equal_to{},
                                         &LightingEffect::code) == kEffects.end());
static_assert(std::ranges::none_of(kEffects, [](const LightingEffect& e) { return e.code == 0; }));

}  // namespace

std::span<const LightingEffect> LightingEffects() {
    return kEffects;
}

const LightingEffect* FindLightingEffect(int code) {
    const auto found = std::ranges::find(kEffects, code, &LightingEffect::code);
    return found == kEffects.end() ? nullptr : &*found;
}

const LightingEffect& LightingEffectOf(int code) {
    const LightingEffect* effect = FindLightingEffect(code);
    return effect ? *effect : kUnknownEffect;
}

std::string EffectNameKey(int code) {
    const LightingEffect* effect = FindLightingEffect(code);
    return effect ? std::string(effect->nameKey) : std::to_string(code);
}

}  // namespace zarvin
