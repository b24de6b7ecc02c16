#pragma once

// Where the key editor opens beside the key button that was clicked: below and to the right of
// it when the dialog fits there, else above it, else to its left, so it never covers the button
// when the screen leaves room.

namespace zarvin {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
};

struct ScreenPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The dialog's top-left corner for a dialog of `width` × `height` beside `button` on a screen
// of `screenWidth` × `screenHeight` whose origin is (0, 0).
ScreenPoint EditorPositionBeside(const ScreenRect& button, int width, int height, int screenWidth,
                                 int screenHeight);

}  // namespace zarvin
