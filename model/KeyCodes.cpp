#include "model/KeyCodes.h"

#include <algorithm>
#include <cstdio>

#include "model/TextKeys.h"

namespace zarvin {
namespace {

constexpr KeyInfo kEmptyRow{};

// The modifier keys in the bit order of the HID modifier byte.
constexpr std::array<KeyCode, 8> kModifierKeys{
    0x01D,  // Left Ctrl
    0x02A,  // Left Shift
    0x038,  // Left Alt
    0x15B,  // left Windows key
    0x11D,  // Right Ctrl
    0x036,  // Right Shift
    0x138,  // Right Alt
    0x15C,  // right Windows key
};

const KeyInfo* FirstRowWithPick(uint16_t pickIndex) {
    const auto found = std::find_if(KeyTable.begin(), KeyTable.end(),
                                    [&](const KeyInfo& row) { return row.pickIndex == pickIndex; });
    return found == KeyTable.end() ? nullptr : &*found;
}

uint16_t SlotOfRow(const KeyInfo& row) {
    return static_cast<uint16_t>(&row - KeyTable.data());
}

// The device code a HID usage stands for, 0 when none.
uint16_t DeviceCodeOfUsage(UsageClass usageClass, uint16_t usage) {
    switch (usageClass) {
        case UsageClass::Keyboard:
            return usage;
        case UsageClass::SystemControl:
            return usage >= 0x81 && usage <= 0x83 ? usage : 0;
        case UsageClass::Consumer: {
            const auto* found =
                std::find(ConsumerUsageTable.begin(), ConsumerUsageTable.end(), usage);
            return found == ConsumerUsageTable.end()
                       ? 0
                       : static_cast<uint16_t>(0xC0 + (found - ConsumerUsageTable.begin()));
        }
        case UsageClass::None:
        case UsageClass::Mouse:
            break;
    }
    return 0;
}

// The language file's templates are outside the program's control, so a template is filled in
// here rather than handed to printf: the first integer conversion (d, i, u, x, X, o, with flags,
// width and precision) gets the value, "%%" is a percent sign, and every other '%' stays as it
// is. Widths beyond what a name can show are cut.
std::string FormatWithValue(std::string_view format, unsigned value) {
    constexpr unsigned kMaxWidth = kKeyNameCapacity - 1;
    constexpr std::string_view kFlags = "-+ #0";
    constexpr std::string_view kLengths = "hljztL";
    constexpr std::string_view kIntegers = "diuxXo";
    std::string out;
    bool filled = false;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        std::string directive = "%";
        size_t j = i + 1;
        while (j < format.size() && kFlags.find(format[j]) != std::string_view::npos) {
            directive += format[j++];
        }
        const auto number = [&] {
            unsigned n = 0;
            while (j < format.size() && format[j] >= '0' && format[j] <= '9') {
                n = std::min(n * 10 + static_cast<unsigned>(format[j++] - '0'), kMaxWidth);
            }
            return n;
        };
        if (const unsigned width = number(); width > 0) {
            directive += std::to_string(width);
        }
        if (j < format.size() && format[j] == '.') {
            ++j;
            directive += '.' + std::to_string(number());
        }
        while (j < format.size() && kLengths.find(format[j]) != std::string_view::npos) {
            ++j;  // the value's own size is used
        }
        const char conversion = j < format.size() ? format[j] : '%';
        if (filled || kIntegers.find(conversion) == std::string_view::npos) {
            out += format[i++];
            continue;
        }
        directive += conversion;
        char text[2 * kMaxWidth + 16];
        const bool isSigned = conversion == 'd' || conversion == 'i';
        const int length =
            isSigned ? std::snprintf(text, sizeof text, directive.c_str(), static_cast<int>(value))
                     : std::snprintf(text, sizeof text, directive.c_str(), value);
        if (length > 0) {
            out.append(text, std::min(static_cast<size_t>(length), sizeof text - 1));
        }
        filled = true;
        i = j + 1;
    }
    return out;
}

// The longest start of UTF-8 `text` that takes at most `units` UTF-16 units; characters beyond
// the basic plane take two.
std::string CutToUtf16Units(std::string text, size_t units) {
    size_t used = 0;
    size_t end = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const size_t bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const size_t need = bytes == 4 ? 2 : 1;
        if (used + need > units) {
            break;
        }
        used += need;
        end = std::min(end + bytes, text.size());
    }
    text.resize(end);
    return text;
}

}  // namespace

const KeyInfo& KeyInfoOf(KeyCode code) {
    const uint16_t slot = SlotOfKeyCode(code);
    return slot < kKeySlotCount ? KeyTable[slot] : kEmptyRow;
}

KeyUsage UsageOfKeyCode(KeyCode code) {
    const uint8_t device = KeyInfoOf(code).deviceCode;
    if (device == 0x00 || device == 0xFF) {
        return {};
    }
    if (device >= 0x81 && device <= 0x83) {
        return {UsageClass::SystemControl, device};
    }
    if (device >= 0xF1 && device <= 0xF8) {
        return {UsageClass::Mouse, device};
    }
    return {UsageClass::Keyboard, device};
}

KeyCode KeyCodeOfUsage(UsageClass usageClass, uint16_t usage) {
    // Usage 0 is "no control" on every page; the unused zero entries at the end of the consumer
    // table would otherwise turn it into Zoom out.
    if (usage == 0) {
        return 0;
    }
    const uint16_t device = DeviceCodeOfUsage(usageClass, usage);
    // The lowest slot wins where rows share a device code (Pause before Break); device code 0
    // finds the empty row of slot 0, that is code 0.
    const auto found = std::find_if(KeyTable.begin(), KeyTable.end(),
                                    [&](const KeyInfo& row) { return row.deviceCode == device; });
    return found == KeyTable.end() ? KeyCode{0} : KeyCodeOfSlot(SlotOfRow(*found));
}

KeyCode ModifierKeyCode(uint8_t mask) {
    for (size_t bit = 0; bit < kModifierKeys.size(); ++bit) {
        if ((mask >> bit) & 1) {
            return kModifierKeys[bit];
        }
    }
    return 0;
}

uint8_t ModifierMaskOf(KeyCode code) {
    const auto found = std::find(kModifierKeys.begin(), kModifierKeys.end(), code);
    return found == kModifierKeys.end()
               ? uint8_t{0}
               : static_cast<uint8_t>(1u << (found - kModifierKeys.begin()));
}

KeyCode KeyCodeOfPick(uint16_t pickIndex) {
    const KeyInfo* row = FirstRowWithPick(pickIndex);
    return row == nullptr ? KeyCode{0} : KeyCodeOfSlot(SlotOfRow(*row));
}

uint16_t PickOfKeyCode(KeyCode code) {
    return KeyInfoOf(code).pickIndex;
}

KeyCode KeyCodeOfKeyEvent(uint8_t vk, uint32_t keyData) {
    const KeyCode byVk = KeyCodeOfSlot(VkSlotTable[vk]);
    const auto byScan = static_cast<KeyCode>((keyData >> 16) & 0x1FF);
    if (byScan == 0x036) {
        return byScan;  // Right Shift, whatever the virtual-key code says
    }
    if (vk == 0xFF) {
        return byScan;
    }
    if ((byScan & 0xFF) == 0) {
        return byVk;
    }
    const KeyInfo& row = KeyInfoOf(byScan);
    if (row.vk == vk || row.altVk == vk) {
        return byScan;
    }
    return (byScan & 0xFF) == VkSlotTable[vk] ? byScan : byVk;
}

bool NeedsInsertedPress(KeyCode code) {
    return code == 0x054 || code == 0x071 || code == 0x072 || code == 0x137;
}

std::string KeyNameOf(KeyCode code, const TextLookup& texts, size_t capacity) {
    const KeyInfo& row = KeyInfoOf(code);
    std::string name;
    if (!row.textKey.empty()) {
        name = texts(row.textKey);
    }
    if (name.empty()) {
        name = FormatWithValue(texts(text_keys::UNKNOWN_KEY), code);
    }
    return capacity == 0 ? std::string() : CutToUtf16Units(std::move(name), capacity - 1);
}

std::string PickNameOf(uint16_t pickIndex, const TextLookup& texts) {
    const KeyInfo* row = FirstRowWithPick(pickIndex);
    return row == nullptr || row->textKey.empty() ? std::string() : texts(row->textKey);
}

}  // namespace zarvin
