#include "model/MacroArea.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "model/KeyAssignment.h"
#include "model/KeyMapCodec.h"
#include "model/LittleEndian.h"
#include "model/MacroAreaHeader.h"
#include "model/TextKeys.h"
#include "model/Utf16Text.h"

namespace zarvin {
namespace {

constexpr size_t kOffsetBytes = 2;
constexpr size_t kBlockHeaderBytes = 4;
constexpr size_t kActionBytes = 4;
constexpr size_t kMaxAreaLength = 0xFFFF;

constexpr uint16_t kDelayMask = 0x0FFF;
constexpr unsigned kKindShift = 12;
constexpr uint16_t kKindMask = 0x7;
constexpr uint16_t kPressBit = 0x8000;
constexpr int32_t kDelayUnit = 10;

// The stored count may exceed what a record holds.
size_t ActionCountOf(const MacroRecord& macro) {
    return std::min<size_t>(macro.ActionCount(), MacroRecord::kMaxActions);
}

// The kind and payload of a recorded event: the key-map entry of the same function.
KeyMapEntry EventEntryOf(KeyCode key) {
    const KeyUsage usage = UsageOfKeyCode(key);
    switch (usage.usageClass) {
        case UsageClass::Keyboard:
            if (const uint8_t mask = ModifierMaskOf(key); mask != 0) {
                return {0x02, 0x01, mask};
            }
            return {0x02, 0x02, static_cast<uint8_t>(usage.usage)};
        case UsageClass::SystemControl:
            return {0x04, static_cast<uint8_t>(usage.usage),
                    static_cast<uint8_t>(usage.usage >> 8)};
        case UsageClass::Mouse: {
            static constexpr std::array<std::array<uint8_t, 2>, 5> kMousePayloads{
                {{0x01, 0x01}, {0x01, 0x02}, {0x01, 0x04}, {0x05, 0x01}, {0x05, 0xFF}}};
            const size_t row = usage.usage - 0xF1u;
            if (row < kMousePayloads.size()) {
                return {0x01, kMousePayloads[row][0], kMousePayloads[row][1]};
            }
            return {};
        }
        default:
            return {};
    }
}

void EncodeAction(const MacroAction& action, std::span<uint8_t> out) {
    const KeyMapEntry entry = EventEntryOf(action.key);
    // A longer pause would wrap to a short one: it is cut to the longest the area holds.
    const int32_t delay = std::clamp(action.delay, int32_t{0}, kMaxMacroAreaDelay);
    const auto units = static_cast<uint32_t>(delay / kDelayUnit);
    const uint32_t press = action.state == MacroAction::kRelease ? 0u : kPressBit;
    StoreLe16(out, 0, static_cast<uint16_t>(units | uint32_t{entry[0]} << kKindShift | press));
    out[2] = entry[1];
    out[3] = entry[2];
}

MacroAction DecodeAction(std::span<const uint8_t> in) {
    const uint16_t word = LoadLe16(in, 0);
    const auto kind = static_cast<uint8_t>((word >> kKindShift) & kKindMask);
    return MacroAction{
        .delay = (word & kDelayMask) * kDelayUnit,
        .key = EntryKeyCode({kind, in[2], in[3]}),
        .state = (word & kPressBit) != 0 ? MacroAction::kPress : MacroAction::kRelease,
    };
}

// A block of the area, cut to what lies inside it, into a cleared record.
void DecodeBlock(std::span<const uint8_t> area, size_t offset, size_t index,
                 const TextLookup& texts, MacroRecord& macro) {
    macro.SetId(static_cast<uint16_t>(index + 1));
    if (offset <= area.size() && area.size() - offset >= kBlockHeaderBytes) {
        const std::span<const uint8_t> block = area.subspan(offset);
        const size_t storedCount = LoadLe16(block, 0);
        macro.SetCycles(block[2]);
        const size_t room = (block.size() - kBlockHeaderBytes) / kActionBytes;
        const size_t count = std::min({storedCount, MacroRecord::kMaxActions, room});
        for (size_t i = 0; i < count; ++i) {
            macro.SetAction(
                i, DecodeAction(block.subspan(kBlockHeaderBytes + kActionBytes * i, kActionBytes)));
        }
        macro.SetActionCount(static_cast<uint16_t>(count));
        // The name follows all the actions the block declares.
        const size_t nameAt = kBlockHeaderBytes + kActionBytes * storedCount;
        const size_t units =
            nameAt < block.size() ? std::min<size_t>(block[3], (block.size() - nameAt) / 2) : 0;
        std::u16string name(units, u'\0');
        for (size_t i = 0; i < units; ++i) {
            name[i] = static_cast<char16_t>(LoadLe16(block, nameAt + 2 * i));
        }
        macro.SetName(name);
    }
    // A name cut off or starting with a terminator is no name either.
    if (macro.Name().empty()) {
        const std::string name = texts(text_keys::MACRO_NEW_PREFIX) + std::to_string(index + 1);
        macro.SetName(Utf16OfUtf8(name));
    }
}

}  // namespace

MacroAreaSize MacroAreaSizes(std::span<const MacroRecord> macros) {
    MacroAreaSize sizes;
    sizes.withoutNames = MacroAreaHeader::kSize + kOffsetBytes * macros.size();
    size_t names = 0;
    for (const MacroRecord& macro : macros) {
        sizes.withoutNames += kBlockHeaderBytes + kActionBytes * ActionCountOf(macro);
        names += 2 * macro.Name().size();
    }
    sizes.withNames = sizes.withoutNames + names;
    return sizes;
}

std::optional<MacroAreaLayout> ChooseMacroAreaLayout(MacroAreaSize sizes, size_t capacity) {
    if (sizes.withNames <= capacity) {
        return MacroAreaLayout{sizes.withNames, true};
    }
    if (sizes.withoutNames <= capacity) {
        return MacroAreaLayout{sizes.withoutNames, false};
    }
    return std::nullopt;
}

bool EncodeMacroArea(std::span<const MacroRecord> macros, std::span<uint8_t> area, bool withNames) {
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    if (area.size() > kMaxAreaLength ||
        (withNames ? sizes.withNames : sizes.withoutNames) > area.size()) {
        return false;
    }
    std::fill(area.begin(), area.end(), uint8_t{0});
    StoreLe16(area, 0, MacroAreaHeader::kMagic);
    StoreLe16(area, 2, static_cast<uint16_t>(area.size()));
    StoreLe16(area, 4, static_cast<uint16_t>(macros.size()));
    StoreLe16(area, 6, withNames ? 1 : 0);

    size_t at = MacroAreaHeader::kSize + kOffsetBytes * macros.size();
    for (size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& macro = macros[i];
        const size_t count = ActionCountOf(macro);
        const std::u16string name = withNames ? macro.Name() : std::u16string();
        StoreLe16(area, MacroAreaHeader::kSize + kOffsetBytes * i, static_cast<uint16_t>(at));
        StoreLe16(area, at, static_cast<uint16_t>(count));
        area[at + 2] = macro.Cycles();
        area[at + 3] = static_cast<uint8_t>(name.size());
        at += kBlockHeaderBytes;
        for (size_t a = 0; a < count; ++a) {
            EncodeAction(macro.Action(a), area.subspan(at, kActionBytes));
            at += kActionBytes;
        }
        for (const char16_t unit : name) {
            StoreLe16(area, at, unit);
            at += 2;
        }
    }
    return true;
}

std::vector<MacroRecord> DecodeMacroArea(std::span<const uint8_t> area, size_t count,
                                         const TextLookup& texts) {
    const size_t tableRoom = area.size() > MacroAreaHeader::kSize
                                 ? (area.size() - MacroAreaHeader::kSize) / kOffsetBytes
                                 : 0;
    const size_t decoded = std::min({count, kMaxMacroRecords, tableRoom});
    std::vector<MacroRecord> macros(decoded);
    for (size_t i = 0; i < decoded; ++i) {
        const size_t offset = LoadLe16(area, MacroAreaHeader::kSize + kOffsetBytes * i);
        DecodeBlock(area, offset, i, texts, macros[i]);
    }
    return macros;
}

std::optional<MacroRecord> NewMacro(std::u16string_view name, std::span<const MacroRecord> list) {
    for (uint16_t id = 1; id <= kMaxMacroRecords; ++id) {
        const bool used = std::any_of(list.begin(), list.end(),
                                      [&](const MacroRecord& macro) { return macro.Id() == id; });
        if (!used) {
            MacroRecord macro;
            macro.SetName(name);
            macro.SetCycles(1);
            macro.SetNewFlag(1);
            macro.SetId(id);
            return macro;
        }
    }
    return std::nullopt;
}

}  // namespace zarvin
