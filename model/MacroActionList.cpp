#include "model/MacroActionList.h"

#include <algorithm>

#include "model/MacroArea.h"

namespace zarvin {

void MacroActionList::Load(const MacroRecord& record) {
    const size_t count = std::min<size_t>(record.ActionCount(), kMaxRows);
    rows_.clear();
    rows_.reserve(count);
    for (size_t slot = 0; slot < count; ++slot) {
        MacroAction action = record.Action(slot);
        if (action.state != MacroAction::kRelease) {
            action.state = MacroAction::kPress;
        }
        rows_.push_back(action);
    }
}

void MacroActionList::StoreInto(MacroRecord& record) const {
    record.SetActionCount(static_cast<uint16_t>(rows_.size()));
    for (size_t slot = 0; slot < rows_.size(); ++slot) {
        record.SetAction(slot, rows_[slot]);
    }
}

std::optional<size_t> MacroActionList::AddRecorded(std::optional<size_t> selected, KeyCode key,
                                                   uint16_t state, int64_t measured,
                                                   bool keepMeasured) {
    if (Full()) {
        return std::nullopt;
    }
    // The keyboard cannot hold a longer pause.
    const int32_t time = keepMeasured ? static_cast<int32_t>(std::clamp<int64_t>(
                                            measured, 0, kMaxMacroAreaDelay))
                                      : kFixedRecordedDelay;
    const size_t at = selected && *selected < rows_.size() ? *selected + 1 : rows_.size();
    MacroAction action{.delay = 0, .key = key, .state = state};
    if (at > 0) {
        action.delay = rows_[at - 1].delay;
        rows_[at - 1].delay = time;
    }
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), action);
    return at;
}

void MacroActionList::Remove(size_t row) {
    if (row < rows_.size()) {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    }
}

void MacroActionList::Move(size_t from, size_t to) {
    if (from >= rows_.size() || to >= rows_.size() || from == to) {
        return;
    }
    const auto first = rows_.begin();
    if (from < to) {
        std::rotate(first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    } else {
        std::rotate(first + static_cast<std::ptrdiff_t>(to),
                    first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
    }
}

void MacroActionList::Set(size_t row, const MacroAction& action) {
    if (row < rows_.size()) {
        rows_[row] = action;
    }
}

}  // namespace zarvin
