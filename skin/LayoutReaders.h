#pragma once

// The four ways a window applies one layout entry of its skin file (skin/LayoutEntry.h) to one
// of its controls. A missing entry places the control as a 1 x 1 control at (1, 1); through
// PlaceWithFaces that also disables it, which is how a skin removes a button.

#include <filesystem>
#include <string_view>

#include "skin/PngButton.h"

class QImage;
class QWidget;

namespace zarvin {

// Moves and sizes the button to (x, y, w, h), takes (x, y) as its image origin and `faces` as
// its faces, and draws it; disables it when x and y are both 1.
void PlaceWithFaces(CPngButton& button, const std::filesystem::path& skinFile,
                    std::string_view section, std::string_view key, const ButtonFaces& faces);

// Moves and sizes the control to (x, y, w, h).
void PlaceControl(QWidget& control, const std::filesystem::path& skinFile, std::string_view section,
                  std::string_view key);

// Moves the control to (x, y), keeping its size, and repaints it.
void MoveControl(QWidget& control, const std::filesystem::path& skinFile, std::string_view section,
                 std::string_view key);

// Moves and sizes the button from the first entry, takes the image origin from the x and y of
// the second entry, and `face` for all five faces; then draws it.
void PlaceWithOrigin(CPngButton& button, const std::filesystem::path& skinFile,
                     std::string_view section, std::string_view key, std::string_view originSection,
                     std::string_view originKey, const QImage* face);

}  // namespace zarvin
