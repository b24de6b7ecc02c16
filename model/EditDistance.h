#pragma once

// How many single-character insertions, deletions and substitutions turn one text into another:
// the measure of a typing slip when close names are suggested.

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace zarvin {

inline size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> previous(b.size() + 1);
    std::vector<size_t> current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

}  // namespace zarvin
