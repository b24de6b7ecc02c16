#include "model/KeyMapCodec.h"

#include <algorithm>
#include <optional>

#include "model/LittleEndian.h"
#include "model/TextKeys.h"
#include "model/Utf16Text.h"

namespace zarvin {

const std::array<MediaFunction, 18> MediaFunctionTable{{
    {0x16D, "MEDIA_PALYER_1", 0x0183},
    {0x122, "MEDIA_PALY_PAUSE_2", 0x00CD},
    {0x124, "MEDIA_STOP_PALY_3", 0x00B7},
    {0x110, "MEDIA_PREV_TRACK_4", 0x00B6},
    {0x119, "MEDIA_Next_TRACK_5", 0x00B5},
    {0x12E, "MEDIA_V_LOW_6", 0x00EA},
    {0x130, "MEDIA_V_ADD_7", 0x00E9},
    {0x120, "MEDIA_MUTE_8", 0x00E2},
    {0x132, "MEDIA_WWW_HOME_9", 0x0223},
    {0x167, "MEDIA_WWW_REFRESH_10", 0x0227},
    {0x168, "MEDIA_WWW_STOP_11", 0x0226},
    {0x16A, "MEDIA_WWW_BACK_12", 0x0224},
    {0x169, "MEDIA_WWW_FORWARD_13", 0x0225},
    {0x166, "MEDIA_WWW_FAVORITE_14", 0x022A},
    {0x165, "MEDIA_WWW_SEARCH_15", 0x0221},
    {0x16B, "MEDIA_MY_PC_16", 0x0194},
    {0x121, "MEDIA_CALC_17", 0x0192},
    {0x16C, "MEDIA_MAIL_18", 0x018A},
}};

static_assert(kKeyboardFunctionCount == text_keys::kFunctionKeyDescriptions.size());

namespace {

constexpr KeyMapEntry kNothing{0x00, 0x00, 0x00};
constexpr KeyMapEntry kStopMacro{0x05, 0x02, 0x00};
constexpr size_t kEntryBytes = 3;
// What a 512-byte matrix can hold.
constexpr size_t kMaxPositions = kDefaultKeyMatrixBytes / kEntryBytes;

constexpr uint8_t kKindMouse = 0x01;
constexpr uint8_t kKindKeyboard = 0x02;
constexpr uint8_t kKindConsumer = 0x03;
constexpr uint8_t kKindSystem = 0x04;
constexpr uint8_t kKindMacro = 0x05;
constexpr uint8_t kKindGKey = 0x06;

constexpr uint8_t kMouseButton = 0x01;
constexpr uint8_t kMouseWheel = 0x05;
constexpr uint8_t kKeyboardModifier = 0x01;
constexpr uint8_t kKeyboardUsage = 0x02;
constexpr uint8_t kMacroPlay = 0x01;
constexpr uint8_t kMacroStop = 0x02;
constexpr uint8_t kMacroFunction = 0x05;
constexpr uint8_t kGKeyBank = 0xA2;

constexpr KeyCode kGKeyBase = 0x1FF;

// Mouse buttons and wheel steps: their codes and the last two bytes of their 01 entries.
struct MouseEntry {
    KeyCode code;
    uint8_t what;
    uint8_t detail;
};
constexpr std::array<MouseEntry, 5> kMouseEntries{{
    {0x171, kMouseButton, 0x01},
    {0x172, kMouseButton, 0x02},
    {0x173, kMouseButton, 0x04},
    {0x161, kMouseWheel, 0x01},
    {0x162, kMouseWheel, 0xFF},
}};

KeyMapEntry EntryAt(std::span<const uint8_t> bytes, size_t position) {
    const size_t at = kEntryBytes * position;
    return {bytes[at], bytes[at + 1], bytes[at + 2]};
}

void PutEntry(std::span<uint8_t> bytes, size_t position, const KeyMapEntry& entry) {
    std::copy(entry.begin(), entry.end(),
              bytes.begin() + static_cast<ptrdiff_t>(kEntryBytes * position));
}

// A record's value as a key code; values no code has give 0.
KeyCode KeyCodeOfValue(int32_t value) {
    return value >= 0 && value <= 0xFFFF ? static_cast<KeyCode>(value) : KeyCode{0};
}

KeyMapEntry KeyEntryOf(KeyCode code) {
    if (const uint8_t mask = ModifierMaskOf(code); mask != 0) {
        return {kKindKeyboard, kKeyboardModifier, mask};
    }
    for (const MouseEntry& mouse : kMouseEntries) {
        if (mouse.code == code) {
            return {kKindMouse, mouse.what, mouse.detail};
        }
    }
    const KeyUsage usage = UsageOfKeyCode(code);
    const uint8_t keyboardUsage =
        usage.usageClass == UsageClass::Keyboard ? static_cast<uint8_t>(usage.usage) : 0;
    return {kKindKeyboard, kKeyboardUsage, keyboardUsage};
}

KeyMapEntry EntryOfRecord(const KeyAssignment& record, const KeyMapEntry& defaultEntry,
                          std::span<const MacroRecord> macros) {
    switch (static_cast<AssignmentType>(record.type)) {
        case AssignmentType::Disabled:
        case AssignmentType::TextBlock:
            return kNothing;
        case AssignmentType::StopMacro:
            return kStopMacro;
        case AssignmentType::PlayMacro:
            return {kKindMacro, kMacroPlay, MacroPosition(record.value, macros)};
        case AssignmentType::Media:
            if (record.value >= 0 &&
                static_cast<size_t>(record.value) < MediaFunctionTable.size()) {
                const uint16_t usage =
                    MediaFunctionTable[static_cast<size_t>(record.value)].consumerUsage;
                return {kKindConsumer, static_cast<uint8_t>(usage),
                        static_cast<uint8_t>(usage >> 8)};
            }
            return defaultEntry;
        case AssignmentType::Function:
            return {kKindMacro, kMacroFunction, static_cast<uint8_t>(record.value)};
        case AssignmentType::Key:
            return KeyEntryOf(KeyCodeOfValue(record.value));
        case AssignmentType::Default:
        case AssignmentType::LaunchProgram:
            break;
    }
    return defaultEntry;
}

// The assignment a keyboard entry stands for; nothing better than Disabled leaves it Disabled.
KeyAssignment AssignmentOfEntry(const KeyMapEntry& entry) {
    const auto make = [](AssignmentType type, int32_t value) {
        return KeyAssignment{.type = static_cast<uint16_t>(type), .value = value};
    };
    const KeyAssignment disabled = make(AssignmentType::Disabled, 0);
    const auto [kind, first, second] = entry;
    switch (kind) {
        case kKindMacro:
            if (first == kMacroPlay) {
                return make(AssignmentType::PlayMacro, second + 1);
            }
            if (first == kMacroStop) {
                return make(AssignmentType::StopMacro, 0);
            }
            if (first == kMacroFunction) {
                return make(AssignmentType::Function, second);
            }
            return disabled;
        case kKindConsumer: {
            const uint16_t usage = static_cast<uint16_t>(first | second << 8);
            const auto row = std::find_if(
                MediaFunctionTable.begin(), MediaFunctionTable.end(),
                [&](const MediaFunction& media) { return media.consumerUsage == usage; });
            return row == MediaFunctionTable.end()
                       ? disabled
                       : make(AssignmentType::Media,
                              static_cast<int32_t>(row - MediaFunctionTable.begin()));
        }
        case kKindMouse: {
            const KeyCode code = EntryKeyCode(entry);
            return code == 0 ? disabled : make(AssignmentType::Key, code);
        }
        case kKindKeyboard: {
            // A modifier byte without a bit names no key either.
            const KeyCode code = first == kKeyboardUsage
                                     ? KeyCodeOfUsage(UsageClass::Keyboard, second)
                                 : first == kKeyboardModifier ? ModifierKeyCode(second)
                                                              : KeyCode{0};
            return code == 0 ? disabled : make(AssignmentType::Key, code);
        }
        default:
            return disabled;
    }
}

// What a position's keyboard entry means, against its default entry.
KeyAssignment AssignmentOfPosition(const KeyMapEntry& entry, const KeyMapEntry& defaultEntry) {
    return entry == defaultEntry ? KeyAssignment{} : AssignmentOfEntry(entry);
}

bool SameMeaning(const KeyAssignment& a, const KeyAssignment& b) {
    return a.type == b.type && a.value == b.value;
}

// Whether the keyboard's entry for `record` may stay: it already means the record, or the record
// is still as in the table the working store started from.
bool Untouched(const KeyAssignment& record, const KeyAssignment& keyboardMeaning,
               std::span<const uint8_t> startingTable, size_t slot) {
    if (SameMeaning(record, keyboardMeaning)) {
        return true;
    }
    if (startingTable.size() < KeyAssignment::kSize * (slot + 1)) {
        return false;
    }
    const KeyAssignment started = LoadKeyAssignment(
        startingTable.subspan(KeyAssignment::kSize * slot).first<KeyAssignment::kSize>());
    return SameMeaning(record, started);
}

}  // namespace

KeyCode EntryKeyCode(KeyMapEntry entry) {
    const auto [kind, first, second] = entry;
    const uint16_t usage = static_cast<uint16_t>(first | second << 8);
    switch (kind) {
        case kKindMouse:
            for (const MouseEntry& mouse : kMouseEntries) {
                if (mouse.what == first && mouse.detail == second) {
                    return mouse.code;
                }
            }
            return 0;
        case kKindKeyboard:
            return first == kKeyboardUsage ? KeyCodeOfUsage(UsageClass::Keyboard, second)
                                           : ModifierKeyCode(second);
        case kKindConsumer:
            return KeyCodeOfUsage(UsageClass::Consumer, usage);
        case kKindSystem:
            return KeyCodeOfUsage(UsageClass::SystemControl, usage);
        case kKindGKey:
            return first == kGKeyBank ? static_cast<KeyCode>(kGKeyBase + second) : KeyCode{0};
        default:
            return 0;
    }
}

void FillDefaultKeyMap(std::span<uint8_t> block, const DefaultKeyMatrix& matrix,
                       const HeldKeyMap* held) {
    const std::span<const uint8_t> start =
        held != nullptr ? held->block : std::span<const uint8_t>(matrix);
    const size_t copied = std::min(block.size(), start.size());
    std::copy_n(start.begin(), copied, block.begin());
    std::fill(block.begin() + static_cast<ptrdiff_t>(copied), block.end(), uint8_t{0});
}

void EncodeKeyMap(std::span<uint8_t> block, const DefaultKeyMatrix& matrix, int keyCount,
                  const std::function<KeyAssignment(size_t slot)>& recordOfSlot,
                  std::span<const MacroRecord> macros, const HeldKeyMap* held) {
    FillDefaultKeyMap(block, matrix, held);
    const size_t heldPositions =
        held != nullptr ? std::min(block.size(), held->block.size()) / kEntryBytes : 0;
    const size_t positions = std::min(
        {static_cast<size_t>(std::max(keyCount, 0)), block.size() / kEntryBytes, kMaxPositions});
    for (size_t i = 0; i < positions; ++i) {
        const KeyMapEntry defaultEntry = EntryAt(matrix, i);
        const KeyCode code = EntryKeyCode(defaultEntry);
        if (code == 0) {
            continue;
        }
        const size_t slot = SlotOfKeyCode(code);
        const KeyAssignment record = recordOfSlot(slot);
        if (held != nullptr && !record.Is(AssignmentType::PlayMacro) && i < heldPositions &&
            Untouched(record, AssignmentOfPosition(EntryAt(held->block, i), defaultEntry),
                      held->startingTable, slot)) {
            continue;
        }
        PutEntry(block, i, EntryOfRecord(record, defaultEntry, macros));
    }
}

void DecodeKeyMap(std::span<const uint8_t> deviceBlock, const DefaultKeyMatrix& matrix,
                  int keyCount, KeyTableBytes records) {
    ResetProfileBlock(records);
    const size_t positions = std::min({static_cast<size_t>(std::max(keyCount, 0)),
                                       deviceBlock.size() / kEntryBytes, kMaxPositions});
    for (size_t i = 0; i < positions; ++i) {
        const KeyMapEntry sent = EntryAt(deviceBlock, i);
        const KeyMapEntry defaultEntry = EntryAt(matrix, i);
        if (sent == defaultEntry) {
            continue;
        }
        const size_t slot = SlotOfKeyCode(EntryKeyCode(defaultEntry));
        if (slot == 0 || slot >= kKeyTableRecords) {
            continue;
        }
        const auto bytes =
            records.subspan(KeyAssignment::kSize * slot).first<KeyAssignment::kSize>();
        KeyAssignment record = LoadKeyAssignment(bytes);
        const KeyAssignment decoded = AssignmentOfEntry(sent);
        record.type = decoded.type;
        record.value = decoded.value;
        StoreKeyAssignment(record, bytes);
    }
}

void ResetProfileBlock(KeyTableBytes records) {
    std::fill(records.begin(), records.end(), uint8_t{0});
    for (size_t i = 0; i < kGKeyIds.size(); ++i) {
        StoreLe16(records, KeyAssignment::kSize * (kFirstGKeySlot + i) + 2, kGKeyIds[i]);
    }
}

uint8_t MacroPosition(int32_t macroId, std::span<const MacroRecord> macros) {
    const auto found = std::find_if(macros.begin(), macros.end(), [&](const MacroRecord& macro) {
        return macro.Id() == macroId;
    });
    return found == macros.end() ? uint8_t{0} : static_cast<uint8_t>(found - macros.begin());
}

std::string AssignedFunctionName(const KeyAssignment& record, std::span<const MacroRecord> macros,
                                 const TextLookup& texts) {
    const auto index = [&](size_t rows) -> std::optional<size_t> {
        if (record.value < 0 || static_cast<size_t>(record.value) >= rows) {
            return std::nullopt;
        }
        return static_cast<size_t>(record.value);
    };
    switch (static_cast<AssignmentType>(record.type)) {
        case AssignmentType::Key:
            return KeyNameOf(KeyCodeOfValue(record.value), texts);
        case AssignmentType::PlayMacro: {
            for (const MacroRecord& macro : macros) {
                if (macro.Id() == record.value) {
                    return Utf8OfUtf16(macro.Name());
                }
            }
            return {};
        }
        case AssignmentType::Media: {
            const auto row = index(MediaFunctionTable.size());
            return row ? KeyNameOf(MediaFunctionTable[*row].keyCode, texts) : std::string();
        }
        case AssignmentType::Function: {
            const auto row = index(text_keys::kFunctionKeyDescriptions.size());
            return row ? texts(text_keys::kFunctionKeyDescriptions[*row]) : std::string();
        }
        default:
            return {};
    }
}

AssignmentCaptionText AssignmentCaption(std::string_view buttonName, const KeyAssignment& record,
                                        std::span<const MacroRecord> macros,
                                        const TextLookup& texts) {
    if (record.Is(AssignmentType::Default)) {
        return {std::string(buttonName), false};
    }
    std::string caption = std::string(buttonName) + texts(text_keys::KEY_PROMPT_SET);
    std::string_view promptKey;
    switch (static_cast<AssignmentType>(record.type)) {
        case AssignmentType::Key:
            promptKey = text_keys::KEY_PROMPT_SINGLE;
            break;
        case AssignmentType::PlayMacro:
            promptKey = text_keys::KEY_PROMPT_MACRO;
            break;
        case AssignmentType::Media:
            promptKey = text_keys::KEY_PROMPT_MEDIA;
            break;
        case AssignmentType::Function:
            promptKey = text_keys::KEY_PROMPT_FUNCTION;
            break;
        default:
            break;
    }
    if (!promptKey.empty()) {
        caption += texts(promptKey) + AssignedFunctionName(record, macros, texts) + ")";
    }
    std::u16string units = Utf16OfUtf8(caption);
    if (units.size() >= kKeyNameCapacity) {
        units.resize(kKeyNameCapacity - 1);
        caption = Utf8OfUtf16(units);
    }
    return {std::move(caption), true};
}

}  // namespace zarvin
