#pragma once

// The keys under which the language file holds the texts the program shows. Code looks texts up
// by these names, and a test checks that the shipped language file has every one of them.

#include <array>
#include <string_view>

namespace zarvin {

// Section "TEXT".
namespace text_keys {

// Key names.
inline constexpr std::string_view UNKNOWN_KEY = "UNKNOWN_KEY";

// Main window and about box.
inline constexpr std::string_view MAIN_CAPTION = "MAIN_CAPTION";
inline constexpr std::string_view MAIN_HELP_PROMPT = "MAIN_HELP_PROMPT";
inline constexpr std::string_view MAIN_MINIMIZE_PROMPT = "MAIN_MINIMIZE_PROMPT";
inline constexpr std::string_view MAIN_MENU_PROMPT = "MAIN_MENU_PROMPT";
inline constexpr std::string_view MAIN_CLOSE_PROMPT = "MAIN_CLOSE_PROMPT";
inline constexpr std::string_view MAIN_MACRO_PROMPT = "MAIN_MACRO_PROMPT";
// Its text is a format; the argument is the help page's file.
inline constexpr std::string_view MAIN_HELP_NOT_OPENED = "MAIN_HELP_NOT_OPENED";
inline constexpr std::string_view MAIN_NO_DEVICE_PROMPT = "MAIN_NO_DEVICE_PROMPT";
// The keyboard is attached but its node refuses this user; the argument says what to do.
inline constexpr std::string_view MAIN_NO_ACCESS_PROMPT = "MAIN_NO_ACCESS_PROMPT";
inline constexpr std::string_view MAIN_PROMPT_DEFAULT = "MAIN_PROMPT_DEFAULT";
inline constexpr std::string_view MAIN_PROMPT_INPORT = "MAIN_PROMPT_INPORT";
// Its text is a format; the argument is the backup file that could not be written.
inline constexpr std::string_view MAIN_PROMPT_EXPORT = "MAIN_PROMPT_EXPORT";
inline constexpr std::string_view PROFILE_1 = "PROFILE_1";
inline constexpr std::string_view PROFILE_2 = "PROFILE_2";
inline constexpr std::string_view PROFILE_3 = "PROFILE_3";
inline constexpr std::string_view PROFILE_DEFAULT = "PROFILE_DEFAULT";
inline constexpr std::string_view PROFILE_MACRO = "PROFILE_MACRO";
inline constexpr std::string_view PROFILE_OK = "PROFILE_OK";
inline constexpr std::string_view PROFILE_CANCLE = "PROFILE_CANCLE";
inline constexpr std::string_view PROFILE_APPLY = "PROFILE_APPLY";
inline constexpr std::string_view MENU_1 = "MENU_1";
inline constexpr std::string_view MENU_2 = "MENU_2";
inline constexpr std::string_view MENU_3 = "MENU_3";
inline constexpr std::string_view MENU_4 = "MENU_4";
// The language menu, which lists each shipped language by its own name.
inline constexpr std::string_view MENU_LANGUAGE = "MENU_LANGUAGE";
inline constexpr std::string_view LANGUAGE_NAME = "LANGUAGE_NAME";
inline constexpr std::string_view LANG_ABOUT_TITLE = "LANG_ABOUT_TITLE";
inline constexpr std::string_view GUANYU_JIESHAO = "GUANYU_JIESHAO";
inline constexpr std::string_view GUANYU_BANQUAN = "GUANYU_BANQUAN";
inline constexpr std::string_view LANG_ABOUT_OK = "LANG_ABOUT_OK";

// Notification-area icon.
inline constexpr std::string_view KEYBOARD_TRAY_DESC = "KEYBOARD_TRAY_DESC";
inline constexpr std::string_view MENU_11 = "MENU_11";
inline constexpr std::string_view MENU_22 = "MENU_22";
inline constexpr std::string_view MENU_33 = "MENU_33";

// Connection handling.
inline constexpr std::string_view MAIN_DEFAULT_MATRIX_PROMPT = "MAIN_DEFAULT_MATRIX_PROMPT";
inline constexpr std::string_view MAIN_APPLY_NOT_READ = "MAIN_APPLY_NOT_READ";
inline constexpr std::string_view MAIN_USERMODE_NOT_KEPT = "MAIN_USERMODE_NOT_KEPT";
inline constexpr std::string_view KEY_NO_MACRO_CHOSEN = "KEY_NO_MACRO_CHOSEN";

// Applying key assignments.
inline constexpr std::string_view EXTRA_MACRO_TOO_LONG = "EXTRA_MACRO_TOO_LONG";
inline constexpr std::string_view EXTRA_PROFILE_SPACE_TIGHT = "EXTRA_PROFILE_SPACE_TIGHT";
inline constexpr std::string_view EXTRA_SETTINGS_FILE_UNUSED = "EXTRA_SETTINGS_FILE_UNUSED";

// Captions of assigned keys.
inline constexpr std::string_view KEY_PROMPT_SET = "KEY_PROMPT_SET";
inline constexpr std::string_view KEY_PROMPT_SINGLE = "KEY_PROMPT_SINGLE";
inline constexpr std::string_view KEY_PROMPT_MACRO = "KEY_PROMPT_MACRO";
inline constexpr std::string_view KEY_PROMPT_MEDIA = "KEY_PROMPT_MEDIA";
inline constexpr std::string_view KEY_PROMPT_FUNCTION = "KEY_PROMPT_FUNCTION";
inline constexpr std::string_view FUNC_KEY_DESC1 = "FUNC_KEY_DESC1";
inline constexpr std::string_view FUNC_KEY_DESC2 = "FUNC_KEY_DESC2";
inline constexpr std::string_view FUNC_KEY_DESC3 = "FUNC_KEY_DESC3";
inline constexpr std::string_view FUNC_KEY_DESC4 = "FUNC_KEY_DESC4";
inline constexpr std::string_view FUNC_KEY_DESC5 = "FUNC_KEY_DESC5";
inline constexpr std::string_view FUNC_KEY_DESC6 = "FUNC_KEY_DESC6";
inline constexpr std::string_view FUNC_KEY_DESC7 = "FUNC_KEY_DESC7";
inline constexpr std::string_view FUNC_KEY_DESC8 = "FUNC_KEY_DESC8";
inline constexpr std::string_view FUNC_KEY_DESC9 = "FUNC_KEY_DESC9";
inline constexpr std::string_view FUNC_KEY_DESC10 = "FUNC_KEY_DESC10";
inline constexpr std::string_view FUNC_KEY_DESC11 = "FUNC_KEY_DESC11";

// Macro page and recorder.
inline constexpr std::string_view MACRO_NEW_PREFIX = "MACRO_NEW_PREFIX";
inline constexpr std::string_view MACRO_ERR_MAX = "MACRO_ERR_MAX";
inline constexpr std::string_view MACRO_DELETE_CONFIRM_OF_KEYS = "MACRO_DELETE_CONFIRM_OF_KEYS";
inline constexpr std::string_view MACRO_ACTION_RECORD = "MACRO_ACTION_RECORD";
inline constexpr std::string_view MACRO_ACTION_STOP_RECORD = "MACRO_ACTION_STOP_RECORD";
inline constexpr std::string_view MACRO_ACTION_RECORD_DELAY = "MACRO_ACTION_RECORD_DELAY";
inline constexpr std::string_view MACRO_ACTION_CLEAR_CONFIRM = "MACRO_ACTION_CLEAR_CONFIRM";
inline constexpr std::string_view MACRO_ACTION_ERR_MODIFY = "MACRO_ACTION_ERR_MODIFY";
inline constexpr std::string_view MACRO_ACTION_ERR_DELAY_MAX = "MACRO_ACTION_ERR_DELAY_MAX";
inline constexpr std::string_view MACRO_KEYS_TISHI = "MACRO_KEYS_TISHI";
inline constexpr std::string_view MACRO_ACTION_TISHI = "MACRO_ACTION_TISHI";
inline constexpr std::string_view MACRO_DELAY_MS = "MACRO_DELAY_MS";

// Key editor.
inline constexpr std::string_view SINGLE_KEY = "SINGLE_KEY";
inline constexpr std::string_view SINGLE_STATIC = "SINGLE_STATIC";
inline constexpr std::string_view MULTI_MEDIA = "MULTI_MEDIA";
inline constexpr std::string_view FUNCTION_KEY = "FUNCTION_KEY";
inline constexpr std::string_view MACRO_SETTING = "MACRO_SETTING";
inline constexpr std::string_view MACRO_NAME_SETTING = "MACRO_NAME_SETTING";
inline constexpr std::string_view MACRO_CYCLES = "MACRO_CYCLES";
inline constexpr std::string_view RECORD_DELAY = "RECORD_DELAY";
inline constexpr std::string_view MACRO_OK = "MACRO_OK";
inline constexpr std::string_view MACRO_CANCLE = "MACRO_CANCLE";
inline constexpr std::string_view KEY_SETTING_TISHI = "KEY_SETTING_TISHI";
inline constexpr std::string_view MACRO_EDIT_TISHI = "MACRO_EDIT_TISHI";
// A format; the argument is the name of the key being edited.
inline constexpr std::string_view KEY_SETTING_TITLE = "KEY_SETTING_TITLE";
inline constexpr std::string_view MEDIA_EDIT_TISHI = "MEDIA_EDIT_TISHI";
inline constexpr std::string_view FUNCTION_TISHI = "FUNCTION_TISHI";
inline constexpr std::string_view IDS_MACRO_KB_KEY = "IDS_MACRO_KB_KEY";
inline constexpr std::string_view IDS_MACRO_MOU_KEY = "IDS_MACRO_MOU_KEY";
inline constexpr std::string_view A_TOP = "A_TOP";
inline constexpr std::string_view A_UP = "A_UP";
inline constexpr std::string_view A_DOWN = "A_DOWN";
inline constexpr std::string_view A_BOTTOM = "A_BOTTOM";
inline constexpr std::string_view A_RECORD = "A_RECORD";
inline constexpr std::string_view A_DELETE = "A_DELETE";
inline constexpr std::string_view A_CLEAR = "A_CLEAR";
inline constexpr std::string_view COMPOSITE_PROMPT_CLEAR = "COMPOSITE_PROMPT_CLEAR";
inline constexpr std::string_view COMPOSITE_PROMPT_OSK = "COMPOSITE_PROMPT_OSK";
inline constexpr std::string_view IDS_KEYBOARD_MOU_LEFT = "IDS_KEYBOARD_MOU_LEFT";
inline constexpr std::string_view IDS_KEYBOARD_MOU_RIGHT = "IDS_KEYBOARD_MOU_RIGHT";
inline constexpr std::string_view IDS_KEYBOARD_MOU_MIDDLE = "IDS_KEYBOARD_MOU_MIDDLE";
inline constexpr std::string_view IDS_KEYBOARD_ROLL_UP = "IDS_KEYBOARD_ROLL_UP";
inline constexpr std::string_view IDS_KEYBOARD_ROLL_DOWN = "IDS_KEYBOARD_ROLL_DOWN";
inline constexpr std::string_view A1 = "A1";
inline constexpr std::string_view A2 = "A2";
inline constexpr std::string_view A3 = "A3";
inline constexpr std::string_view A4 = "A4";
inline constexpr std::string_view A5 = "A5";
inline constexpr std::string_view B1 = "B1";
inline constexpr std::string_view B2 = "B2";
inline constexpr std::string_view B3 = "B3";
inline constexpr std::string_view B4 = "B4";
inline constexpr std::string_view B5 = "B5";

// Profile store.
inline constexpr std::string_view PROFILE_FORMAT_ERROR = "PROFILE_FORMAT_ERROR";

// Profile dialog.
inline constexpr std::string_view PROFILE_NEW = "PROFILE_NEW";
inline constexpr std::string_view PROFILE_SELECT_PROMPT = "PROFILE_SELECT_PROMPT";
inline constexpr std::string_view PROFILE_SEELCT_PROMPT2 = "PROFILE_SEELCT_PROMPT2";
inline constexpr std::string_view DEFAULT_PROFILE_NAME = "DEFAULT_PROFILE_NAME";
inline constexpr std::string_view PROFILE_TIP = "PROFILE_TIP";
// The profile dialog's button words and column headings.
inline constexpr std::string_view PROFILE_BUTTON_ADD = "PROFILE_BUTTON_ADD";
inline constexpr std::string_view PROFILE_BUTTON_LOAD = "PROFILE_BUTTON_LOAD";
inline constexpr std::string_view PROFILE_BUTTON_REMOVE = "PROFILE_BUTTON_REMOVE";
inline constexpr std::string_view PROFILE_COLUMN_ACTIVE = "PROFILE_COLUMN_ACTIVE";
inline constexpr std::string_view PROFILE_COLUMN_NAME = "PROFILE_COLUMN_NAME";
inline constexpr std::string_view PROFILE_COLUMN_PATH = "PROFILE_COLUMN_PATH";
// The answers of a question box, and the colour picker's own entries.
inline constexpr std::string_view MESSAGE_YES = "MESSAGE_YES";
inline constexpr std::string_view MESSAGE_NO = "MESSAGE_NO";
inline constexpr std::string_view COLOUR_MORE = "COLOUR_MORE";
inline constexpr std::string_view COLOUR_AUTOMATIC = "COLOUR_AUTOMATIC";

// The main window's status line and file dialogs, and the lighting switch's explanation.
inline constexpr std::string_view STATUS_APPLIED = "STATUS_APPLIED";
inline constexpr std::string_view STATUS_NOTHING_TO_APPLY = "STATUS_NOTHING_TO_APPLY";
inline constexpr std::string_view STATUS_APPLY_FAILED = "STATUS_APPLY_FAILED";
inline constexpr std::string_view STATUS_DEFAULT_DONE = "STATUS_DEFAULT_DONE";
inline constexpr std::string_view STATUS_DEFAULT_WITH_LIGHTING_DONE =
    "STATUS_DEFAULT_WITH_LIGHTING_DONE";
inline constexpr std::string_view STATUS_DEFAULT_FAILED = "STATUS_DEFAULT_FAILED";
inline constexpr std::string_view STATUS_RELOAD_DROPPED_CHANGES = "STATUS_RELOAD_DROPPED_CHANGES";
// Formats; the argument is the backup file.
inline constexpr std::string_view STATUS_EXPORTED = "STATUS_EXPORTED";
inline constexpr std::string_view STATUS_IMPORTED = "STATUS_IMPORTED";
inline constexpr std::string_view STATUS_IMPORT_NOT_WRITTEN = "STATUS_IMPORT_NOT_WRITTEN";
inline constexpr std::string_view STATUS_KEY_CLICK_LIGHTING = "STATUS_KEY_CLICK_LIGHTING";
inline constexpr std::string_view BACKUP_FILE_FILTER = "BACKUP_FILE_FILTER";
inline constexpr std::string_view ALL_FILES_FILTER = "ALL_FILES_FILTER";
inline constexpr std::string_view LIGHT_SWITCH_TIP = "LIGHT_SWITCH_TIP";
inline constexpr std::string_view LIGHT_SWITCH_HINT = "LIGHT_SWITCH_HINT";

// The eleven keyboard functions that a key can be given, in function order.
inline constexpr std::array kFunctionKeyDescriptions = {
    FUNC_KEY_DESC1, FUNC_KEY_DESC2,  FUNC_KEY_DESC3,  FUNC_KEY_DESC4,
    FUNC_KEY_DESC5, FUNC_KEY_DESC6,  FUNC_KEY_DESC7,  FUNC_KEY_DESC8,
    FUNC_KEY_DESC9, FUNC_KEY_DESC10, FUNC_KEY_DESC11,
};

// Every key above.
inline constexpr std::array kAll = {
    UNKNOWN_KEY,
    MAIN_CAPTION,
    MAIN_HELP_PROMPT,
    MAIN_MINIMIZE_PROMPT,
    MAIN_MENU_PROMPT,
    MAIN_CLOSE_PROMPT,
    MAIN_MACRO_PROMPT,
    MAIN_HELP_NOT_OPENED,
    MAIN_NO_DEVICE_PROMPT,
    MAIN_NO_ACCESS_PROMPT,
    MAIN_PROMPT_DEFAULT,
    MAIN_PROMPT_INPORT,
    MAIN_PROMPT_EXPORT,
    PROFILE_1,
    PROFILE_2,
    PROFILE_3,
    PROFILE_DEFAULT,
    PROFILE_MACRO,
    PROFILE_OK,
    PROFILE_CANCLE,
    PROFILE_APPLY,
    MENU_1,
    MENU_2,
    MENU_3,
    MENU_4,
    MENU_LANGUAGE,
    LANGUAGE_NAME,
    LANG_ABOUT_TITLE,
    GUANYU_JIESHAO,
    GUANYU_BANQUAN,
    LANG_ABOUT_OK,
    KEYBOARD_TRAY_DESC,
    MENU_11,
    MENU_22,
    MENU_33,
    MAIN_DEFAULT_MATRIX_PROMPT,
    MAIN_APPLY_NOT_READ,
    MAIN_USERMODE_NOT_KEPT,
    KEY_NO_MACRO_CHOSEN,
    EXTRA_MACRO_TOO_LONG,
    EXTRA_PROFILE_SPACE_TIGHT,
    EXTRA_SETTINGS_FILE_UNUSED,
    KEY_PROMPT_SET,
    KEY_PROMPT_SINGLE,
    KEY_PROMPT_MACRO,
    KEY_PROMPT_MEDIA,
    KEY_PROMPT_FUNCTION,
    FUNC_KEY_DESC1,
    FUNC_KEY_DESC2,
    FUNC_KEY_DESC3,
    FUNC_KEY_DESC4,
    FUNC_KEY_DESC5,
    FUNC_KEY_DESC6,
    FUNC_KEY_DESC7,
    FUNC_KEY_DESC8,
    FUNC_KEY_DESC9,
    FUNC_KEY_DESC10,
    FUNC_KEY_DESC11,
    MACRO_NEW_PREFIX,
    MACRO_ERR_MAX,
    MACRO_DELETE_CONFIRM_OF_KEYS,
    MACRO_ACTION_RECORD,
    MACRO_ACTION_STOP_RECORD,
    MACRO_ACTION_RECORD_DELAY,
    MACRO_ACTION_CLEAR_CONFIRM,
    MACRO_ACTION_ERR_MODIFY,
    MACRO_ACTION_ERR_DELAY_MAX,
    MACRO_KEYS_TISHI,
    MACRO_ACTION_TISHI,
    MACRO_DELAY_MS,
    SINGLE_KEY,
    SINGLE_STATIC,
    MULTI_MEDIA,
    FUNCTION_KEY,
    MACRO_SETTING,
    MACRO_NAME_SETTING,
    MACRO_CYCLES,
    RECORD_DELAY,
    MACRO_OK,
    MACRO_CANCLE,
    KEY_SETTING_TISHI,
    MACRO_EDIT_TISHI,
    KEY_SETTING_TITLE,
    MEDIA_EDIT_TISHI,
    FUNCTION_TISHI,
    IDS_MACRO_KB_KEY,
    IDS_MACRO_MOU_KEY,
    A_TOP,
    A_UP,
    A_DOWN,
    A_BOTTOM,
    A_RECORD,
    A_DELETE,
    A_CLEAR,
    COMPOSITE_PROMPT_CLEAR,
    COMPOSITE_PROMPT_OSK,
    IDS_KEYBOARD_MOU_LEFT,
    IDS_KEYBOARD_MOU_RIGHT,
    IDS_KEYBOARD_MOU_MIDDLE,
    IDS_KEYBOARD_ROLL_UP,
    IDS_KEYBOARD_ROLL_DOWN,
    A1,
    A2,
    A3,
    A4,
    A5,
    B1,
    B2,
    B3,
    B4,
    B5,
    PROFILE_FORMAT_ERROR,
    PROFILE_NEW,
    PROFILE_SELECT_PROMPT,
    PROFILE_SEELCT_PROMPT2,
    DEFAULT_PROFILE_NAME,
    PROFILE_TIP,
    PROFILE_BUTTON_ADD,
    PROFILE_BUTTON_LOAD,
    PROFILE_BUTTON_REMOVE,
    PROFILE_COLUMN_ACTIVE,
    PROFILE_COLUMN_NAME,
    PROFILE_COLUMN_PATH,
    MESSAGE_YES,
    MESSAGE_NO,
    COLOUR_MORE,
    COLOUR_AUTOMATIC,
    STATUS_APPLIED,
    STATUS_NOTHING_TO_APPLY,
    STATUS_APPLY_FAILED,
    STATUS_DEFAULT_DONE,
    STATUS_DEFAULT_WITH_LIGHTING_DONE,
    STATUS_DEFAULT_FAILED,
    STATUS_RELOAD_DROPPED_CHANGES,
    STATUS_EXPORTED,
    STATUS_IMPORTED,
    STATUS_IMPORT_NOT_WRITTEN,
    STATUS_KEY_CLICK_LIGHTING,
    BACKUP_FILE_FILTER,
    ALL_FILES_FILTER,
    LIGHT_SWITCH_TIP,
    LIGHT_SWITCH_HINT,
};

// The display names of keys, mouse actions, applications and multimedia functions, one per row
// of the key code table.
inline constexpr std::array<std::string_view, 155> kKeyNames = {
    "IDS_KEYBOARD_ESC",
    "IDS_KEYBOARD_1",
    "IDS_KEYBOARD_2",
    "IDS_KEYBOARD_3",
    "IDS_KEYBOARD_4",
    "IDS_KEYBOARD_5",
    "IDS_KEYBOARD_6",
    "IDS_KEYBOARD_7",
    "IDS_KEYBOARD_8",
    "IDS_KEYBOARD_9",
    "IDS_KEYBOARD_0",
    "IDS_KEYBOARD_MINUS",
    "IDS_KEYBOARD_EQU",
    "IDS_KEYBOARD_BS",
    "IDS_KEYBOARD_TAB",
    "IDS_KEYBOARD_Q",
    "IDS_KEYBOARD_W",
    "IDS_KEYBOARD_E",
    "IDS_KEYBOARD_R",
    "IDS_KEYBOARD_T",
    "IDS_KEYBOARD_Y",
    "IDS_KEYBOARD_U",
    "IDS_KEYBOARD_I",
    "IDS_KEYBOARD_O",
    "IDS_KEYBOARD_P",
    "IDS_KEYBOARD_SB1",
    "IDS_KEYBOARD_SB2",
    "IDS_KEYBOARD_ENTER",
    "IDS_KEYBOARD_LCTRL",
    "IDS_KEYBOARD_A",
    "IDS_KEYBOARD_S",
    "IDS_KEYBOARD_D",
    "IDS_KEYBOARD_F",
    "IDS_KEYBOARD_G",
    "IDS_KEYBOARD_H",
    "IDS_KEYBOARD_J",
    "IDS_KEYBOARD_K",
    "IDS_KEYBOARD_L",
    "IDS_KEYBOARD_SEM",
    "IDS_KEYBOARD_QUOT",
    "IDS_KEYBOARD_AID1",
    "IDS_KEYBOARD_LSHIFT",
    "IDS_KEYBOARD_K42",
    "IDS_KEYBOARD_Z",
    "IDS_KEYBOARD_X",
    "IDS_KEYBOARD_C",
    "IDS_KEYBOARD_V",
    "IDS_KEYBOARD_B",
    "IDS_KEYBOARD_N",
    "IDS_KEYBOARD_M",
    "IDS_KEYBOARD_COMMA",
    "IDS_KEYBOARD_PER",
    "IDS_KEYBOARD_VIR",
    "IDS_KEYBOARD_RSHIFT",
    "IDS_KEYBOARD_S_AST",
    "IDS_KEYBOARD_LALT",
    "IDS_KEYBOARD_SPACE",
    "IDS_KEYBOARD_CAPS",
    "IDS_KEYBOARD_F1",
    "IDS_KEYBOARD_F2",
    "IDS_KEYBOARD_F3",
    "IDS_KEYBOARD_F4",
    "IDS_KEYBOARD_F5",
    "IDS_KEYBOARD_F6",
    "IDS_KEYBOARD_F7",
    "IDS_KEYBOARD_F8",
    "IDS_KEYBOARD_F9",
    "IDS_KEYBOARD_F10",
    "IDS_KEYBOARD_PAUSE",
    "IDS_KEYBOARD_SCROLL",
    "IDS_KEYBOARD_S_7",
    "IDS_KEYBOARD_S_8",
    "IDS_KEYBOARD_S_9",
    "IDS_KEYBOARD_S_MINUS",
    "IDS_KEYBOARD_S_4",
    "IDS_KEYBOARD_S_5",
    "IDS_KEYBOARD_S_6",
    "IDS_KEYBOARD_S_PLUS",
    "IDS_KEYBOARD_S_1",
    "IDS_KEYBOARD_S_2",
    "IDS_KEYBOARD_S_3",
    "IDS_KEYBOARD_S_0",
    "IDS_KEYBOARD_S_DEL",
    "IDS_KEYBOARD_SYSREQ",
    "IDS_KEYBOARD_K45",
    "IDS_KEYBOARD_F11",
    "IDS_KEYBOARD_F12",
    "IDS_KEYBOARD_ROMA",
    "IDS_KEYBOARD_KL",
    "IDS_KEYBOARD_KR",
    "IDS_KEYBOARD_K56",
    "IDS_KEYBOARD_CHG",
    "IDS_KEYBOARD_N_CHG",
    "IDS_KEYBOARD_K14",
    "IDS_KEYBOARD_K107",
    "MEDIA_PREV_TRACK_4",
    "MEDIA_Next_TRACK_5",
    "IDS_KEYBOARD_S_ENTER",
    "IDS_KEYBOARD_RCTRL",
    "MEDIA_MUTE_8",
    "MEDIA_CALC_17",
    "MEDIA_PALY_PAUSE_2",
    "MEDIA_STOP_PALY_3",
    "MEDIA_V_LOW_6",
    "MEDIA_V_ADD_7",
    "MEDIA_WWW_HOME_9",
    "IDS_KEYBOARD_S_VIR",
    "IDS_KEYBOARD_PRINT",
    "IDS_KEYBOARD_RALT",
    "IDS_KEYBOARD_NUM",
    "IDS_KEYBOARD_BREAK",
    "IDS_KEYBOARD_HOME",
    "IDS_KEYBOARD_UP",
    "IDS_KEYBOARD_PAGE_UP",
    "IDS_KEYBOARD_LEFT",
    "IDS_KEYBOARD_RIGHT",
    "IDS_KEYBOARD_END",
    "IDS_KEYBOARD_DOWN",
    "IDS_KEYBOARD_PAGE_DOWN",
    "IDS_KEYBOARD_INSERT",
    "IDS_KEYBOARD_DELETE",
    "IDS_KEYBOARD_LWIN",
    "IDS_KEYBOARD_RWIN",
    "IDS_KEYBOARD_APP",
    "IDS_KEYBOARD_POWER",
    "IDS_KEYBOARD_SLEEP",
    "IDS_KEYBOARD_ROLL_UP",
    "IDS_KEYBOARD_ROLL_DOWN",
    "IDS_KEYBOARD_WAKE",
    "MEDIA_WWW_SEARCH_15",
    "MEDIA_WWW_FAVORITE_14",
    "MEDIA_WWW_REFRESH_10",
    "MEDIA_WWW_STOP_11",
    "MEDIA_WWW_FORWARD_13",
    "MEDIA_WWW_BACK_12",
    "MEDIA_MY_PC_16",
    "MEDIA_MAIL_18",
    "MEDIA_PALYER_1",
    "IDS_KEYBOARD_MOU_PANLEFT",
    "IDS_KEYBOARD_MOU_PANRIGHT",
    "IDS_KEYBOARD_MOU_DBCLICK",
    "IDS_KEYBOARD_MOU_LEFT",
    "IDS_KEYBOARD_MOU_RIGHT",
    "IDS_KEYBOARD_MOU_MIDDLE",
    "IDS_KEYBOARD_FUNC_ZOOMOUT",
    "IDS_KEYBOARD_FUNC_ZOOMIN",
    "IDS_KEYBOARD_FUNC_COPY",
    "IDS_KEYBOARD_FUNC_CUT",
    "IDS_KEYBOARD_FUNC_PASTE",
    "IDS_KEYBOARD_FUNC_MINI",
    "IDS_KEYBOARD_FUNC_MAXI",
    "IDS_KEYBOARD_FUNC_WORD",
    "IDS_KEYBOARD_FUNC_EXCEL",
    "IDS_KEYBOARD_FUNC_POWERPOINT",
    "IDS_KEYBOARD_FUNC_CALENDAR",
};

}  // namespace text_keys

// Section "LIGHT": the captions of the lighting panel.
namespace light_keys {

inline constexpr std::string_view Usb = "Usb";      // report rate
inline constexpr std::string_view Deng = "Deng";    // the lighting switch
inline constexpr std::string_view Light = "Light";  // brightness
inline constexpr std::string_view FX = "FX";        // direction
inline constexpr std::string_view Speed = "Speed";
inline constexpr std::string_view Color = "Color";    // colour, and the brush colour of user modes
inline constexpr std::string_view JColor = "JColor";  // the base colour of user modes
inline constexpr std::string_view DC = "DC";          // multicolour
inline constexpr std::string_view Tool = "Tool";      // the painting tools of user modes

inline constexpr std::array kAll = {Usb, Deng, Light, FX, Speed, Color, JColor, DC, Tool};

}  // namespace light_keys

}  // namespace zarvin
