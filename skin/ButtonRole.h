#pragma once

// What a picture button is to the keyboard and to assistive technology: a push button, a
// toggle (on or off), one choice of several (chosen or not), or a display that only shows
// something and never takes the focus.

namespace zarvin {

enum class ButtonRole { Push, Toggle, Choice, Display };

}  // namespace zarvin
