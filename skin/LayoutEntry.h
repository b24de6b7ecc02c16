#pragma once

// Layout entries of the skin files: "x,y,w,h" — where a control sits inside its window and how
// large it is, in pixels (the windows have no frame, so window and client area coincide).
//
// An entry is read as sscanf's "%d,%d,%d,%d" reads it: each number may have leading white space
// and a sign, a comma must follow directly, anything after the fourth number is ignored. Numbers
// that are not present read 0. A missing entry reads as kMissingLayoutEntry, a 1 x 1 control at
// (1, 1).

#include <filesystem>
#include <string_view>

namespace zarvin {

struct LayoutEntry {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool operator==(const LayoutEntry&) const = default;
};

inline constexpr std::string_view kMissingLayoutEntry = "1,1,1,1,x";

// Numbers are kept within +-kMaxLayoutCoordinate (Qt's largest widget size), so that no
// geometry built from an entry can overflow.
inline constexpr int kMaxLayoutCoordinate = (1 << 24) - 1;

LayoutEntry ParseLayoutEntry(std::string_view text);

// The entry `key` of `section` in `skinFile`.
LayoutEntry ReadLayoutEntry(const std::filesystem::path& skinFile, std::string_view section,
                            std::string_view key);

}  // namespace zarvin
