#pragma once

// Every lighting effect the program knows, one record each: its code on the keyboard, the
// language file's key for its name, the control groups the lighting panel shows for it, its
// arrows and where they sit, and how the on-screen keyboard imitates it. Everything that
// differs between effects is read from here, so a new effect is one more record.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/LightingPreview.h"

namespace zarvin {

// The effect that shows the per-key colours of the user modes.
inline constexpr uint8_t kUserModeEffect = 20;

// Which control groups an effect shows besides the effect combo and brightness, and whether
// selecting it also writes the multicolour flag.
struct EffectControls {
    bool sendsMulticolour = false;
    bool speed = false;
    bool direction = false;
    bool colourA = false;
    bool colourB = false;
    bool optionColours = false;
    bool userModeTools = false;
};

// What the two direction arrows mean: direction 255 is the first word, 0 the second.
enum class EffectArrows : uint8_t { LeftRight, UpDown, OutwardInward };

// The skin keeps three places for the direction label and arrows; an effect names the one
// that suits the groups it shows.
enum class DirectionPlace : uint8_t { Usual, Second, Third };

// Draws one preview frame of an effect into the key lights.
using PreviewDrawer = void (LightingPreview::*)(const PreviewSettings&, PreviewColours&);

// Whether an effect's preview changes from frame to frame. A still one shows the same frame
// until its settings change, so it needs no frames in between.
enum class PreviewMotion : uint8_t { Animated, Still };

struct LightingEffect {
    uint8_t code;
    std::string_view nameKey;  // language file, section "MODE"
    EffectControls controls;
    EffectArrows arrows;
    DirectionPlace directionPlace;
    // Nothing when the on-screen keyboard does not imitate the effect: its keys are cleared.
    PreviewDrawer preview;
    PreviewMotion motion;
};

// In the order of their codes.
std::span<const LightingEffect> LightingEffects();

// The effect of a code, or nothing for a code the program does not know.
const LightingEffect* FindLightingEffect(int code);

// The record of a code, or for an unknown code one that shows no group of its own, left and
// right arrows in the usual place and no preview.
const LightingEffect& LightingEffectOf(int code);

// The language file's key for the name of an effect code; an unknown code is looked up by the
// code in decimal.
std::string EffectNameKey(int code);

}  // namespace zarvin
