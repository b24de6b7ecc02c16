#pragma once

// The action list of the macro page as data: the rows in playing order, each holding the time
// to the next row, and the rules by which recording adds rows. The page shows these rows; what
// it stores into a macro record comes from here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/KeyCodes.h"
#include "model/MacroRecord.h"

namespace zarvin {

class MacroActionList {
public:
    static constexpr size_t kMaxRows = MacroRecord::kMaxActions;
    // Every recorded time while measured delays are off.
    static constexpr int32_t kFixedRecordedDelay = 50;

    // The record's actions; the stored count is clamped to kMaxRows and a state other than
    // press or release is taken as a press.
    void Load(const MacroRecord& record);
    // The rows become the record's actions and action count.
    void StoreInto(MacroRecord& record) const;
    void Clear() { rows_.clear(); }

    const std::vector<MacroAction>& Rows() const { return rows_; }
    size_t Size() const { return rows_.size(); }
    bool Full() const { return rows_.size() >= kMaxRows; }

    // A recorded event `measured` ms after the previous one (50 ms when measured delays are
    // off; at most 40950 ms, the longest the keyboard holds). The row goes after `selected`, or to the end without one. A first row gets the
    // delay 0; otherwise the row before it takes the new time and the new row that row's old
    // delay. Returns the new row's index; nothing, with nothing added, when the list is full.
    std::optional<size_t> AddRecorded(std::optional<size_t> selected, KeyCode key, uint16_t state,
                                      int64_t measured, bool keepMeasured);

    // Rows outside the list are left alone.
    void Remove(size_t row);
    void Move(size_t from, size_t to);
    void Set(size_t row, const MacroAction& action);

private:
    std::vector<MacroAction> rows_;
};

}  // namespace zarvin
