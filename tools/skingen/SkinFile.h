#pragma once

// One window's skin file as data, and its writer. Entries are written in the order given, one
// "KEY=x,y,w,h" line each, so the file is the same from run to run.

#include <QRect>
#include <filesystem>
#include <string>
#include <vector>

namespace zarvin::skingen {

struct LayoutRect {
    std::string key;
    QRect rect;
};

struct SkinFile {
    std::string background;               // "SCREEN" "Main"
    std::string mask;                     // "SCREEN" "Mask"
    std::string link;                     // "SCREEN" "Link"; written only when not empty
    std::vector<LayoutRect> buttonInfo;   // "BUTTONINFO"
    std::vector<LayoutRect> buttonInfo2;  // "BUTTONINFO2"; written only when not empty
};

// Throws std::runtime_error naming the file when it cannot be written.
void WriteSkinFile(const std::filesystem::path& file, const SkinFile& skin);

}  // namespace zarvin::skingen
