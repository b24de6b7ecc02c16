#include "model/KeyNames.h"

#include <algorithm>
#include <iterator>

#include "model/EditDistance.h"

namespace zarvin {
namespace {

constexpr KeyAlias kAliases[] = {
    {"Escape", 0x001},
    {"Minus", 0x00C},
    {"Equal", 0x00D},
    {"Equals", 0x00D},
    {"BS", 0x00E},
    {"LeftBracket", 0x01A},
    {"RightBracket", 0x01B},
    {"Return", 0x01C},
    {"LeftCtrl", 0x01D},
    {"LCtrl", 0x01D},
    {"Control", 0x01D},
    {"LeftControl", 0x01D},
    {"Semicolon", 0x027},
    {"Quote", 0x028},
    {"Apostrophe", 0x028},
    {"Backtick", 0x029},
    {"Grave", 0x029},
    {"LeftShift", 0x02A},
    {"LShift", 0x02A},
    {"Backslash", 0x02B},
    {"Comma", 0x033},
    {"Period", 0x034},
    {"Dot", 0x034},
    {"Slash", 0x035},
    {"RShift", 0x036},
    {"NumStar", 0x037},
    {"NumMultiply", 0x037},
    {"LeftAlt", 0x038},
    {"LAlt", 0x038},
    {"Caps", 0x03A},
    {"ScrLk", 0x046},
    {"NumMinus", 0x04A},
    {"NumPlus", 0x04E},
    {"NumDot", 0x053},
    {"NumDel", 0x053},
    {"SysRq", 0x054},
    {"IntlBackslash", 0x056},
    {"Katakana", 0x070},
    {"Hanja", 0x071},
    {"Hangul", 0x072},
    {"Ro", 0x073},
    {"Henkan", 0x079},
    {"Muhenkan", 0x07B},
    {"Yen", 0x07D},
    {"NumComma", 0x07E},
    {"PrevTrack", 0x110},
    {"PreviousTrack", 0x110},
    {"Previous", 0x110},
    {"Next", 0x119},
    {"RCtrl", 0x11D},
    {"RightControl", 0x11D},
    {"Calculator", 0x121},
    {"PlayPause", 0x122},
    {"Play", 0x122},
    {"Stop", 0x124},
    {"VolumeDown", 0x12E},
    {"VolDown", 0x12E},
    {"VolumeUp", 0x130},
    {"VolUp", 0x130},
    {"BrowserHome", 0x132},
    {"NumSlash", 0x135},
    {"NumDivide", 0x135},
    {"PrintScr", 0x137},
    {"PrtSc", 0x137},
    {"Print", 0x137},
    {"RightAlt", 0x138},
    {"RAlt", 0x138},
    {"AltGr", 0x138},
    {"Up", 0x148},
    {"PgUp", 0x149},
    {"Left", 0x14B},
    {"Right", 0x14D},
    {"Down", 0x150},
    {"PgDn", 0x151},
    {"Ins", 0x152},
    {"Del", 0x153},
    {"LeftWin", 0x15B},
    {"LWin", 0x15B},
    {"Super", 0x15B},
    {"RWin", 0x15C},
    {"Menu", 0x15D},
    {"WakeUp", 0x163},
    {"WheelUp", 0x161},
    {"ScrollUp", 0x161},
    {"WheelDown", 0x162},
    {"ScrollDown", 0x162},
    {"BrowserSearch", 0x165},
    {"BrowserFavorites", 0x166},
    {"BrowserFavourites", 0x166},
    {"BrowserRefresh", 0x167},
    {"BrowserStop", 0x168},
    {"BrowserForward", 0x169},
    {"BrowserBack", 0x16A},
    {"MyComputer", 0x16B},
    {"WheelLeft", 0x16E},
    {"WheelRight", 0x16F},
    {"MouseLeft", 0x171},
    {"LeftClick", 0x171},
    {"LeftMouseButton", 0x171},
    {"MouseRight", 0x172},
    {"RightClick", 0x172},
    {"RightMouseButton", 0x172},
    {"MouseMiddle", 0x173},
    {"MiddleClick", 0x173},
    {"MiddleMouseButton", 0x173},
    {"ZoomOut", 0x174},
    {"ZoomIn", 0x175},
    {"Minimise", 0x179},
    {"Maximise", 0x17A},
    {"WordProcessor", 0x17B},
    {"Spreadsheet", 0x17C},
    {"Presentation", 0x17D},
};

constexpr int kGKeyCount = 18;
// No key name is longer; a longer input is matched against nothing.
constexpr size_t kLongestName = 64;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string Normalized(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '_') {
            continue;
        }
        kept += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    std::string out;
    for (size_t i = 0; i < kept.size(); ++i) {
        const bool joins = kept[i] == '-' && i > 0 && i + 1 < kept.size() &&
                           IsAsciiAlnum(kept[i - 1]) && IsAsciiAlnum(kept[i + 1]);
        if (!joins) {
            out += kept[i];
        }
    }
    return out;
}

struct Candidate {
    std::string key;       // normalized
    std::string spelling;  // as suggested to the user
    KeyCode code;
};

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
                 [](char c) { return c != ' '; });
    return out;
}

// Labels in slot order, then the G keys, then the aliases; a name already taken keeps its first
// key.
std::vector<Candidate> BuildCandidates() {
    std::vector<Candidate> candidates;
    const auto add = [&](std::string_view name, KeyCode code) {
        std::string key = Normalized(name);
        const bool taken = std::any_of(candidates.begin(), candidates.end(),
                                       [&](const Candidate& c) { return c.key == key; });
        if (!key.empty() && !taken) {
            candidates.push_back({std::move(key), WithoutBlanks(name), code});
        }
    };
    for (size_t slot = 0; slot < KeyTable.size(); ++slot) {
        const std::string_view label = KeyTable[slot].label;
        const KeyCode code = KeyCodeOfSlot(static_cast<uint16_t>(slot));
        // "ROMA (133)" is also just "ROMA".
        if (const size_t note = label.find(" ("); note != std::string_view::npos) {
            add(label.substr(0, note), code);
        }
        add(label, code);
    }
    for (int n = 1; n <= kGKeyCount; ++n) {
        add("G" + std::to_string(n), static_cast<KeyCode>(0x1FF + n));
    }
    for (const KeyAlias& alias : kAliases) {
        add(alias.name, alias.code);
    }
    return candidates;
}

const std::vector<Candidate>& Candidates() {
    static const std::vector<Candidate> candidates = BuildCandidates();
    return candidates;
}

}  // namespace

std::vector<TypedKeyName> TypedKeyNames() {
    std::vector<TypedKeyName> names;
    for (const Candidate& candidate : Candidates()) {
        names.push_back({candidate.spelling, candidate.code});
    }
    return names;
}

std::span<const KeyAlias> KeyNameAliases() {
    return kAliases;
}

KeyCode KeyCodeOfName(std::string_view typed) {
    const std::string key = Normalized(typed);
    for (const Candidate& candidate : Candidates()) {
        if (candidate.key == key) {
            return candidate.code;
        }
    }
    return 0;
}

std::vector<std::string> CloseKeyNames(std::string_view typed, size_t count) {
    const std::string key = Normalized(typed);
    if (key.empty() || key.size() > kLongestName) {
        return {};
    }
    // One typing slip in a short name, up to three in a long one.
    const size_t allowed = std::clamp<size_t>(key.size() / 3, 1, 3);
    struct Match {
        size_t distance;
        size_t order;
    };
    std::vector<Match> matches;
    const std::vector<Candidate>& candidates = Candidates();
    for (size_t i = 0; i < candidates.size(); ++i) {
        const size_t distance = EditDistance(key, candidates[i].key);
        if (distance <= allowed) {
            matches.push_back({distance, i});
        }
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match& a, const Match& b) { return a.distance < b.distance; });
    std::vector<std::string> names;
    std::vector<KeyCode> named;
    for (const Match& match : matches) {
        const Candidate& candidate = candidates[match.order];
        if (names.size() == count) {
            break;
        }
        if (std::find(named.begin(), named.end(), candidate.code) == named.end()) {
            named.push_back(candidate.code);
            names.push_back(candidate.spelling);
        }
    }
    return names;
}

}  // namespace zarvin
