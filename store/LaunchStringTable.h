#pragma once

// The working store's launch strings: the program path of each LaunchProgram record and the text
// of each TextBlock record, one entry per key record (0-2047), with the bytes each takes in the
// file form (UTF-16 units and terminator, 2 bytes each) and their sum. The applied store keeps
// one packed block instead (AppliedStore).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zarvin {

class LaunchStringTable {
public:
    LaunchStringTable();

    // The string of record `record`; nullptr when it has none.
    const std::u16string* At(size_t record) const;
    // Bytes the string takes in a file, terminator included; 0 when there is none.
    uint32_t SizeAt(size_t record) const;
    // The sum of all sizes: the size of the packed block.
    uint32_t Total() const { return total_; }

    // Gives `record` the string `text` in place of the one it had. False, with nothing changed,
    // for a record outside 0-2047, a text holding a NUL (it would end the string in a file) or
    // when the total would pass kMaxLaunchStringTotal.
    bool Set(size_t record, std::u16string text);
    void Clear(size_t record);
    void ClearAll();

    friend bool operator==(const LaunchStringTable&, const LaunchStringTable&) = default;

private:
    std::vector<std::optional<std::u16string>> strings_;
    uint32_t total_ = 0;
};

}  // namespace zarvin
