#include "model/KeyEditRecord.h"

#include <algorithm>

#include "model/TextKeys.h"

namespace zarvin {

std::optional<int> MouseChoiceOf(KeyCode code) {
    const auto* found = std::find(kMouseChoiceCodes.begin(), kMouseChoiceCodes.end(), code);
    if (found == kMouseChoiceCodes.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - kMouseChoiceCodes.begin());
}

uint16_t GIdOfSlot(size_t slot) {
    if (slot < kFirstGKeySlot || slot >= kFirstGKeySlot + kGKeyIds.size()) {
        return 0;
    }
    return kGKeyIds[slot - kFirstGKeySlot];
}

namespace {

constexpr uint16_t TypeValue(AssignmentType type) { return static_cast<uint16_t>(type); }

}  // namespace

std::optional<std::string_view> KeyEditRefusal(const KeyEdit& edit) {
    if (edit.pageType == TypeValue(AssignmentType::PlayMacro) &&
        (edit.macroListEmpty || edit.currentMacroId == 0)) {
        return text_keys::KEY_NO_MACRO_CHOSEN;
    }
    return std::nullopt;
}

KeyAssignment BuildKeyEditRecord(const KeyEdit& edit, const KeyAssignment& previous) {
    if (KeyEditRefusal(edit)) {
        return previous;
    }
    KeyAssignment record = previous;
    record.type = edit.pageType;
    record.gId = GIdOfSlot(edit.targetSlot);
    record.value = 0;
    const auto makeDefault = [&record] {
        record.type = TypeValue(AssignmentType::Default);
        record.value = 0;
    };
    switch (static_cast<AssignmentType>(edit.pageType)) {
        case AssignmentType::Key:
            if (edit.source == KeySource::Mouse) {
                if (edit.mouseEntry < 0 ||
                    edit.mouseEntry >= static_cast<int>(kMouseChoiceCodes.size())) {
                    makeDefault();
                } else {
                    record.value = kMouseChoiceCodes[static_cast<size_t>(edit.mouseEntry)];
                }
            } else if (edit.capturedKey == 0 ||
                       SlotOfKeyCode(edit.capturedKey) == edit.targetSlot) {
                makeDefault();
            } else {
                record.value = edit.capturedKey;
            }
            break;
        case AssignmentType::PlayMacro:
            record.value = edit.currentMacroId;
            record.gId = static_cast<uint16_t>(std::clamp(edit.cycles, 0, 0xFFFF));
            break;
        case AssignmentType::Media:
            record.value = edit.mediaEntry;
            break;
        case AssignmentType::Function:
            record.value = edit.functionEntry;
            break;
        default:
            break;
    }
    return record;
}

}  // namespace zarvin
