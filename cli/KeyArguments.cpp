#include "cli/KeyArguments.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <vector>

#include "cli/CliTextKeys.h"
#include "cli/CommandLineTexts.h"
#include "model/KeyMapCodec.h"
#include "model/KeyNames.h"

namespace zarvin::cli {
namespace {

constexpr std::string_view kDisabled = "disabled";
constexpr const char* kExampleNames = "CapsLock, LeftCtrl, F1, Mute, WheelUp";
constexpr std::string_view kMacroPrefix = "macro:";
constexpr std::string_view kFunctionPrefix = "function:";

// Mouse buttons and wheel steps that a key map entry of kind 01 carries.
constexpr std::array<KeyCode, 5> kMouseKeyCodes = {0x171, 0x172, 0x173, 0x161, 0x162};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// What to type instead of an unknown name: the names that come close, or examples.
std::string KeyNameHint(std::string_view typed) {
    const std::vector<std::string> close = CloseKeyNames(typed);
    const std::vector<std::string_view> names(close.begin(), close.end());
    return close.empty() ? CliFormat(cli_text::KEY_NAMES_LIKE, {kExampleNames})
                         : CliFormat(cli_text::DID_YOU_MEAN, {OneOf(names)});
}

// Whether a key map can send the key, as BuildKeyMap encodes a Key record: a modifier, a mouse
// button or wheel step, or a key with a keyboard usage. Everything else would go out as 02 02 00.
bool SendableAsKey(KeyCode code) {
    if (ModifierMaskOf(code) != 0 ||
        std::find(kMouseKeyCodes.begin(), kMouseKeyCodes.end(), code) != kMouseKeyCodes.end()) {
        return true;
    }
    const KeyUsage usage = UsageOfKeyCode(code);
    return usage.usageClass == UsageClass::Keyboard && usage.usage != 0;
}

std::optional<RemapTarget> ParseFunction(std::string_view number, std::string& error) {
    int function = 0;
    const char* end = number.data() + number.size();
    const auto [stop, failure] = std::from_chars(number.data(), end, function);
    if (number.empty() || failure != std::errc() || stop != end || function < 1 ||
        function > static_cast<int>(kKeyboardFunctionCount)) {
        const std::string last = std::to_string(kKeyboardFunctionCount);
        error = CliFormat(cli_text::NOT_A_FUNCTION, {"function:" + std::string(number), last});
        return std::nullopt;
    }
    return RemapTarget{.type = AssignmentType::Function, .value = function - 1, .macroName = {}};
}

}  // namespace

std::optional<KeyCode> ParseKeyName(std::string_view typed, std::string& error) {
    const KeyCode code = KeyCodeOfName(typed);
    if (code == 0) {
        error = CliFormat(cli_text::UNKNOWN_KEY_NAME, {typed, KeyNameHint(typed)});
        return std::nullopt;
    }
    return code;
}

std::optional<RemapTarget> ParseRemapTarget(std::string_view typed, std::string& error) {
    if (StartsWithIgnoringCase(typed, kMacroPrefix)) {
        const std::string_view name = typed.substr(kMacroPrefix.size());
        if (name.empty()) {
            error = CliText(cli_text::MACRO_NEEDS_NAME);
            return std::nullopt;
        }
        return RemapTarget{
            .type = AssignmentType::PlayMacro, .value = 0, .macroName = std::string(name)};
    }
    if (StartsWithIgnoringCase(typed, kFunctionPrefix)) {
        return ParseFunction(typed.substr(kFunctionPrefix.size()), error);
    }
    if (typed.size() == kDisabled.size() && StartsWithIgnoringCase(typed, kDisabled)) {
        return RemapTarget{.type = AssignmentType::Disabled, .value = 0, .macroName = {}};
    }
    const KeyCode code = KeyCodeOfName(typed);
    if (code == 0) {
        error = CliFormat(cli_text::UNKNOWN_TARGET,
                          {typed, KeyNameHint(typed), std::to_string(kKeyboardFunctionCount)});
        return std::nullopt;
    }
    const auto media = std::find_if(MediaFunctionTable.begin(), MediaFunctionTable.end(),
                                    [&](const MediaFunction& row) { return row.keyCode == code; });
    if (media != MediaFunctionTable.end()) {
        return RemapTarget{.type = AssignmentType::Media,
                           .value = static_cast<int32_t>(media - MediaFunctionTable.begin()),
                           .macroName = {}};
    }
    if (!SendableAsKey(code)) {
        error = CliFormat(cli_text::NOT_IN_KEY_MAP, {typed});
        return std::nullopt;
    }
    return RemapTarget{.type = AssignmentType::Key, .value = code, .macroName = {}};
}

}  // namespace zarvin::cli
