// Writes the user lighting mode template, UserDengColor_3.userd: ten factory layouts of per-key
// colours, drawn by where each key sits on the keyboard, in the user-mode file form.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <string_view>

#include "control/LightingPanel.h"
#include "model/KeyboardLayout.h"
#include "platform/WholeFile.h"

namespace {

using namespace zarvin;

// A key's colour in a layout, and whether it follows the mode's base colour.
struct Paint {
    ColourValue colour;
    bool followsBase;
};

struct Layout {
    const char* name;
    ColourValue baseColour;
    ColourValue brushColour;
    std::function<Paint(const KeyButton&)> paint;
};

constexpr ColourValue kWhite = MakeColour(255, 255, 255);

uint8_t Channel(double value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

// Hue in turns (0 to 1), full saturation and value.
ColourValue Hue(double turns) {
    const double h = (turns - std::floor(turns)) * 6.0;
    const double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    double r = 0;
    double g = 0;
    double b = 0;
    switch (static_cast<int>(h)) {
        case 0: r = 1; g = x; break;
        case 1: r = x; g = 1; break;
        case 2: g = 1; b = x; break;
        case 3: g = x; b = 1; break;
        case 4: r = x; b = 1; break;
        default: r = 1; b = x; break;
    }
    return MakeColour(Channel(r), Channel(g), Channel(b));
}

ColourValue Blend(ColourValue from, ColourValue to, double t) {
    const auto mix = [t](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
    };
    return MakeColour(mix(RedOf(from), RedOf(to)), mix(GreenOf(from), GreenOf(to)),
                      mix(BlueOf(from), BlueOf(to)));
}

// Where the key's centre lies across the keyboard, 0 at the left edge and 1 at the right.
double Across(const KeyButton& key) {
    return (key.place.x + key.place.width / 2) / KeyboardBounds().width;
}
double Down(const KeyButton& key) {
    return (key.place.y + key.place.height / 2) / KeyboardBounds().height;
}

bool IsAny(const KeyButton& key, std::initializer_list<int> controlIds) {
    return std::find(controlIds.begin(), controlIds.end(), key.controlId) != controlIds.end();
}

bool IsMovementKey(const KeyButton& key) {
    return IsAny(key, {1045, 1058, 1059, 1060, 1100, 1101, 1102, 1103});
}

bool IsLetter(const KeyButton& key) {
    const std::string_view legend = key.legend;
    return key.kind == KeyButtonKind::Key && legend.size() == 1 && legend[0] >= 'A' &&
           legend[0] <= 'Z';
}

// The row of Esc and the F keys, with Print Screen, Scroll Lock and Pause.
bool InFunctionRow(const KeyButton& key) {
    return key.kind == KeyButtonKind::Key && key.colourIndex <= 16;
}

Paint Base(ColourValue colour) { return {colour, true}; }
Paint Own(ColourValue colour) { return {colour, false}; }

const Layout kLayouts[] = {
    {"All white", kWhite, MakeColour(255, 0, 0), [](const KeyButton&) { return Base(kWhite); }},
    {"WASD and arrows", MakeColour(40, 90, 255), MakeColour(255, 80, 0),
     [](const KeyButton& key) {
         return IsMovementKey(key) ? Own(MakeColour(255, 80, 0)) : Base(MakeColour(40, 90, 255));
     }},
    {"Rainbow rows", kWhite, MakeColour(255, 0, 0),
     [](const KeyButton& key) { return Own(Hue(Down(key) * 0.85)); }},
    {"Rainbow wave", kWhite, MakeColour(255, 0, 0),
     [](const KeyButton& key) { return Own(Hue(Across(key) * 0.9)); }},
    {"Warm gradient", MakeColour(255, 120, 0), MakeColour(255, 30, 0),
     [](const KeyButton& key) {
         return Own(Blend(MakeColour(255, 20, 0), MakeColour(255, 200, 40), Across(key)));
     }},
    {"Cool gradient", MakeColour(0, 120, 255), MakeColour(0, 255, 200),
     [](const KeyButton& key) {
         return Own(Blend(MakeColour(0, 230, 255), MakeColour(140, 40, 255), Across(key)));
     }},
    {"Function row accents", kWhite, MakeColour(255, 160, 0),
     [](const KeyButton& key) {
         if (!InFunctionRow(key)) {
             return Base(kWhite);
         }
         if (key.colourIndex == 0) {
             return Own(MakeColour(255, 0, 0));
         }
         // F1-F4, F5-F8, F9-F12 and the three keys beside them in turn.
         constexpr ColourValue kGroups[] = {MakeColour(0, 200, 255), MakeColour(255, 0, 160),
                                            MakeColour(255, 160, 0), MakeColour(90, 255, 0)};
         return Own(kGroups[std::min((key.colourIndex - 1) / 4, 3)]);
     }},
    {"Letters and modifiers", MakeColour(0, 200, 160), kWhite,
     [](const KeyButton& key) {
         return IsLetter(key) ? Own(kWhite) : Base(MakeColour(0, 200, 160));
     }},
    {"Sunset", MakeColour(255, 60, 120), MakeColour(255, 150, 0),
     [](const KeyButton& key) {
         return Own(Blend(MakeColour(170, 0, 255), MakeColour(255, 140, 0), Down(key)));
     }},
    {"Night red", MakeColour(160, 0, 0), kWhite,
     [](const KeyButton& key) {
         return IsMovementKey(key) ? Own(kWhite) : Base(MakeColour(160, 0, 0));
     }},
};

std::string Rgb(ColourValue colour) {
    return std::to_string(RedOf(colour)) + ',' + std::to_string(GreenOf(colour)) + ',' +
           std::to_string(BlueOf(colour));
}

std::string TemplateText() {
    std::string text = "[PRESENTMODE]\nmode=0\n\n[MODENAME]\n";
    int mode = 0;
    for (const Layout& layout : kLayouts) {
        text += std::to_string(mode++) + '=' + layout.name + '\n';
    }
    mode = 0;
    for (const Layout& layout : kLayouts) {
        text += "\n[Mode" + std::to_string(mode++) + "]\n";
        text += "tool=0\njcolor=" + Rgb(layout.baseColour) + "\ncolor=" +
                Rgb(layout.brushColour) + '\n';
        // One entry per colour index; the G keys share theirs, the first of them decides.
        std::map<int, Paint> entries;
        for (const KeyButton& key : KeyButtons()) {
            entries.try_emplace(key.colourIndex, layout.paint(key));
        }
        for (const auto& [index, paint] : entries) {
            text += std::to_string(index) + '=' + Rgb(paint.colour) +
                    (paint.followsBase ? ",1\n" : ",0\n");
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zarvin_usermodegen FILE\n";
        return 2;
    }
    const std::filesystem::path file = argv[1];
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (!WriteWholeFileAtomically(file, TemplateText())) {
        std::cerr << "zarvin_usermodegen: cannot write " << file << '\n';
        return 1;
    }
    return 0;
}
