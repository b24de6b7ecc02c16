#pragma once

// How one control is drawn in one picture. A window's state images each show every control in
// one look; which look a control takes in which image follows the window's face assignment.

namespace zarvin::skingen {

// Sunken is pressed without the accent: for a set whose pressed image also serves as the
// disabled face.
enum class Look { Normal, Hover, Pressed, Selected, Disabled, Sunken };

}  // namespace zarvin::skingen
