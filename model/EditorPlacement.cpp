#include "model/EditorPlacement.h"

namespace zarvin {

ScreenPoint EditorPositionBeside(const ScreenRect& button, int width, int height, int screenWidth,
                                 int screenHeight) {
    const bool fitsRight = screenWidth - button.right >= width;
    const bool fitsBelow = screenHeight - button.bottom >= height;
    const bool fitsAbove = button.top >= height;
    if (fitsRight && fitsBelow) {
        return {button.right, button.bottom};
    }
    if (fitsRight && fitsAbove) {
        return {button.right, button.top - height};
    }
    if (button.left >= width) {
        if (fitsBelow) {
            return {button.left - width, button.bottom};
        }
        if (fitsAbove) {
            return {button.left - width, button.top - height};
        }
    }
    return {button.right, button.bottom};
}

}  // namespace zarvin
