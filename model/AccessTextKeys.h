#pragma once

// The keys of the texts that name the windows' controls for screen readers and tooltips: what
// an image or a key button says it is, what a colour is called. Section "TEXT" of the language
// file; a test checks that the shipped file has every one.

#include <array>
#include <string_view>

namespace zarvin::access_keys {

// A key button: the key's own name first, then what the key does now.
inline constexpr std::string_view KEY_REMAPPED = "ACCESS_KEY_REMAPPED";      // %s, %s
inline constexpr std::string_view KEY_MACRO = "ACCESS_KEY_MACRO";            // %s, %s
inline constexpr std::string_view KEY_MEDIA = "ACCESS_KEY_MEDIA";            // %s, %s
inline constexpr std::string_view KEY_FUNCTION = "ACCESS_KEY_FUNCTION";      // %s, %s
inline constexpr std::string_view KEY_DISABLED = "ACCESS_KEY_DISABLED";      // %s
inline constexpr std::string_view KEY_STOP_MACRO = "ACCESS_KEY_STOP_MACRO";  // %s
inline constexpr std::string_view KEY_LAUNCH = "ACCESS_KEY_LAUNCH";          // %s
inline constexpr std::string_view KEY_TEXT = "ACCESS_KEY_TEXT";              // %s
inline constexpr std::string_view KEY_CHANGED = "ACCESS_KEY_CHANGED";        // %s

// A colour: its name, then red, green and blue (0-255).
inline constexpr std::string_view COLOUR = "ACCESS_COLOUR";  // %s %s %s %s
// A control that shows a colour: the control's name, then the colour.
inline constexpr std::string_view NAMED_COLOUR = "ACCESS_NAMED_COLOUR";  // %s, %s
inline constexpr std::string_view COLOUR_BLACK = "COLOUR_BLACK";
inline constexpr std::string_view COLOUR_GREY = "COLOUR_GREY";
inline constexpr std::string_view COLOUR_WHITE = "COLOUR_WHITE";
inline constexpr std::string_view COLOUR_RED = "COLOUR_RED";
inline constexpr std::string_view COLOUR_ORANGE = "COLOUR_ORANGE";
inline constexpr std::string_view COLOUR_YELLOW = "COLOUR_YELLOW";
inline constexpr std::string_view COLOUR_GREEN = "COLOUR_GREEN";
inline constexpr std::string_view COLOUR_CYAN = "COLOUR_CYAN";
inline constexpr std::string_view COLOUR_BLUE = "COLOUR_BLUE";
inline constexpr std::string_view COLOUR_PURPLE = "COLOUR_PURPLE";
inline constexpr std::string_view COLOUR_PINK = "COLOUR_PINK";

// The main window's picture buttons.
inline constexpr std::string_view MAIN_HOME_PAGE = "ACCESS_MAIN_HOME_PAGE";
inline constexpr std::string_view MAIN_WEB = "ACCESS_MAIN_WEB";
inline constexpr std::string_view MAIN_DOCUMENTATION = "ACCESS_MAIN_DOCUMENTATION";
inline constexpr std::string_view MAIN_SOURCE = "ACCESS_MAIN_SOURCE";
inline constexpr std::string_view MAIN_FLIP = "ACCESS_MAIN_FLIP";

// The lighting panel.
inline constexpr std::string_view LIGHT_EFFECT = "ACCESS_LIGHT_EFFECT";
inline constexpr std::string_view LIGHT_REPORT_RATE = "ACCESS_LIGHT_REPORT_RATE";  // %s
inline constexpr std::string_view LIGHT_DIRECTION = "ACCESS_LIGHT_DIRECTION";      // %s
inline constexpr std::string_view DIRECTION_LEFT = "ACCESS_DIRECTION_LEFT";
inline constexpr std::string_view DIRECTION_RIGHT = "ACCESS_DIRECTION_RIGHT";
inline constexpr std::string_view DIRECTION_UP = "ACCESS_DIRECTION_UP";
inline constexpr std::string_view DIRECTION_DOWN = "ACCESS_DIRECTION_DOWN";
inline constexpr std::string_view DIRECTION_INWARDS = "ACCESS_DIRECTION_INWARDS";
inline constexpr std::string_view DIRECTION_OUTWARDS = "ACCESS_DIRECTION_OUTWARDS";
inline constexpr std::string_view LIGHT_OPTION_COLOUR = "ACCESS_LIGHT_OPTION_COLOUR";  // %s
inline constexpr std::string_view LIGHT_PRESET = "ACCESS_LIGHT_PRESET";               // %s
inline constexpr std::string_view LIGHT_OWN_TOOL = "ACCESS_LIGHT_OWN_TOOL";
inline constexpr std::string_view LIGHT_BASE_TOOL = "ACCESS_LIGHT_BASE_TOOL";
inline constexpr std::string_view LIGHT_USER_MODE = "ACCESS_LIGHT_USER_MODE";
inline constexpr std::string_view LIGHT_RED = "ACCESS_LIGHT_RED";
inline constexpr std::string_view LIGHT_GREEN = "ACCESS_LIGHT_GREEN";
inline constexpr std::string_view LIGHT_BLUE = "ACCESS_LIGHT_BLUE";

// The key editor and the profile dialog.
inline constexpr std::string_view EDITOR_APPLY = "ACCESS_EDITOR_APPLY";
inline constexpr std::string_view MACRO_ADD = "ACCESS_MACRO_ADD";
inline constexpr std::string_view MACRO_REMOVE = "ACCESS_MACRO_REMOVE";
inline constexpr std::string_view MACRO_ACTIONS = "ACCESS_MACRO_ACTIONS";
inline constexpr std::string_view PROFILE_LIST = "ACCESS_PROFILE_LIST";
inline constexpr std::string_view PROFILE_ADD = "ACCESS_PROFILE_ADD";
inline constexpr std::string_view PROFILE_LOAD = "ACCESS_PROFILE_LOAD";
inline constexpr std::string_view PROFILE_DELETE = "ACCESS_PROFILE_DELETE";

inline constexpr std::array kAll = {
    KEY_REMAPPED,       KEY_MACRO,          KEY_MEDIA,         KEY_FUNCTION,
    KEY_DISABLED,       KEY_STOP_MACRO,     KEY_LAUNCH,        KEY_TEXT,
    KEY_CHANGED,        COLOUR,             NAMED_COLOUR,      COLOUR_BLACK,
    COLOUR_GREY,        COLOUR_WHITE,       COLOUR_RED,        COLOUR_ORANGE,
    COLOUR_YELLOW,      COLOUR_GREEN,       COLOUR_CYAN,       COLOUR_BLUE,
    COLOUR_PURPLE,      COLOUR_PINK,        MAIN_HOME_PAGE,    MAIN_WEB,
    MAIN_DOCUMENTATION, MAIN_SOURCE,        MAIN_FLIP,
    LIGHT_EFFECT,       LIGHT_REPORT_RATE, LIGHT_DIRECTION,
    DIRECTION_LEFT,     DIRECTION_RIGHT,    DIRECTION_UP,      DIRECTION_DOWN,
    DIRECTION_INWARDS,  DIRECTION_OUTWARDS, LIGHT_OPTION_COLOUR, LIGHT_PRESET,
    LIGHT_OWN_TOOL,     LIGHT_BASE_TOOL,    LIGHT_USER_MODE,   LIGHT_RED,
    LIGHT_GREEN,        LIGHT_BLUE,         EDITOR_APPLY,      MACRO_ADD,
    MACRO_REMOVE,       MACRO_ACTIONS,      PROFILE_LIST,      PROFILE_ADD,
    PROFILE_LOAD,       PROFILE_DELETE,
};

}  // namespace zarvin::access_keys
