#include "model/SpokenNames.h"

#include <algorithm>

#include "model/AccessTextKeys.h"
#include "model/KeyMapCodec.h"
#include "model/TextTemplate.h"

namespace zarvin {

namespace {

namespace keys = access_keys;

struct HueName {
    int upTo;  // the hue, in degrees, up to which the name holds
    std::string_view key;
};

// Wide bands where the eye sees one name; orange and yellow are narrow.
constexpr HueName kHueNames[] = {
    {15, keys::COLOUR_RED},    {45, keys::COLOUR_ORANGE},  {70, keys::COLOUR_YELLOW},
    {160, keys::COLOUR_GREEN}, {200, keys::COLOUR_CYAN},   {255, keys::COLOUR_BLUE},
    {290, keys::COLOUR_PURPLE}, {340, keys::COLOUR_PINK},  {360, keys::COLOUR_RED},
};

}  // namespace

std::string KeySpokenName(std::string_view keyName, const KeyAssignment& record,
                          std::span<const MacroRecord> macros, const TextLookup& texts) {
    const auto withFunction = [&](std::string_view key) {
        return FillTemplate(texts(key), {keyName, AssignedFunctionName(record, macros, texts)});
    };
    const auto alone = [&](std::string_view key) { return FillTemplate(texts(key), {keyName}); };
    switch (static_cast<AssignmentType>(record.type)) {
        case AssignmentType::Default:
            return std::string(keyName);
        case AssignmentType::Key:
            return withFunction(keys::KEY_REMAPPED);
        case AssignmentType::PlayMacro:
            return withFunction(keys::KEY_MACRO);
        case AssignmentType::Media:
            return withFunction(keys::KEY_MEDIA);
        case AssignmentType::Function:
            return withFunction(keys::KEY_FUNCTION);
        case AssignmentType::Disabled:
            return alone(keys::KEY_DISABLED);
        case AssignmentType::StopMacro:
            return alone(keys::KEY_STOP_MACRO);
        case AssignmentType::LaunchProgram:
            return alone(keys::KEY_LAUNCH);
        case AssignmentType::TextBlock:
            return alone(keys::KEY_TEXT);
    }
    return alone(keys::KEY_CHANGED);
}

std::string_view ColourNameKey(ColourValue colour) {
    const int red = RedOf(colour);
    const int green = GreenOf(colour);
    const int blue = BlueOf(colour);
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    const int spread = high - low;
    // Little colour in it: a grey between black and white.
    if (high < 40) {
        return keys::COLOUR_BLACK;
    }
    if (spread * 100 < high * 20) {
        return high > 200 ? keys::COLOUR_WHITE : keys::COLOUR_GREY;
    }
    int hue = 0;
    if (high == red) {
        hue = 60 * (green - blue) / spread;
    } else if (high == green) {
        hue = 120 + 60 * (blue - red) / spread;
    } else {
        hue = 240 + 60 * (red - green) / spread;
    }
    hue = (hue + 360) % 360;
    for (const HueName& band : kHueNames) {
        if (hue <= band.upTo) {
            return band.key;
        }
    }
    return keys::COLOUR_RED;
}

std::string ColourSpokenName(ColourValue colour, const TextLookup& texts) {
    return FillTemplate(texts(keys::COLOUR),
                        {texts(ColourNameKey(colour)), std::to_string(RedOf(colour)),
                         std::to_string(GreenOf(colour)), std::to_string(BlueOf(colour))});
}

}  // namespace zarvin
