#pragma once

// The keys of section "CLI" of the language files: the command line's own sentences. A test
// checks that every shipped language file has each of them with the English conversions.

#include <array>
#include <string_view>

namespace zarvin::cli::cli_text {

inline constexpr std::string_view USAGE = "USAGE";
inline constexpr std::string_view COMMANDS = "COMMANDS";
inline constexpr std::string_view OPTIONS = "OPTIONS";
inline constexpr std::string_view EXAMPLE = "EXAMPLE";
inline constexpr std::string_view OPTIONS_HINT = "OPTIONS_HINT";
inline constexpr std::string_view TRY_HELP = "TRY_HELP";
inline constexpr std::string_view WORD_OR = "WORD_OR";
inline constexpr std::string_view LIST_COMMA = "LIST_COMMA";
inline constexpr std::string_view WORD_AND = "WORD_AND";
inline constexpr std::string_view KEYS_NOTE = "KEYS_NOTE";
inline constexpr std::string_view EXIT_STATUS = "EXIT_STATUS";
inline constexpr std::string_view RELOAD_NOTE = "RELOAD_NOTE";
inline constexpr std::string_view SUMMARY_LIST = "SUMMARY_LIST";
inline constexpr std::string_view SUMMARY_INFO = "SUMMARY_INFO";
inline constexpr std::string_view SUMMARY_DESCRIBE = "SUMMARY_DESCRIBE";
inline constexpr std::string_view SUMMARY_PROFILE = "SUMMARY_PROFILE";
inline constexpr std::string_view SUMMARY_MONITOR = "SUMMARY_MONITOR";
inline constexpr std::string_view SUMMARY_SIM_RESET = "SUMMARY_SIM_RESET";
inline constexpr std::string_view SUMMARY_BACKUP = "SUMMARY_BACKUP";
inline constexpr std::string_view SUMMARY_RESTORE = "SUMMARY_RESTORE";
inline constexpr std::string_view SUMMARY_SHOW = "SUMMARY_SHOW";
inline constexpr std::string_view SUMMARY_KEYS = "SUMMARY_KEYS";
inline constexpr std::string_view SUMMARY_REMAP = "SUMMARY_REMAP";
inline constexpr std::string_view SUMMARY_RESET = "SUMMARY_RESET";
inline constexpr std::string_view SUMMARY_LIGHTING = "SUMMARY_LIGHTING";
inline constexpr std::string_view SUMMARY_MACRO = "SUMMARY_MACRO";
inline constexpr std::string_view SUMMARY_USERMODE = "SUMMARY_USERMODE";
inline constexpr std::string_view SUMMARY_COLOURS = "SUMMARY_COLOURS";
inline constexpr std::string_view SUMMARY_UDEV_CHECK = "SUMMARY_UDEV_CHECK";
inline constexpr std::string_view SUMMARY_SIM = "SUMMARY_SIM";
inline constexpr std::string_view SUMMARY_TARGETS = "SUMMARY_TARGETS";
inline constexpr std::string_view SUMMARY_LANGUAGE = "SUMMARY_LANGUAGE";
inline constexpr std::string_view SUMMARY_HELP = "SUMMARY_HELP";
inline constexpr std::string_view HELP_LIST = "HELP_LIST";
inline constexpr std::string_view HELP_INFO = "HELP_INFO";
inline constexpr std::string_view HELP_DESCRIBE = "HELP_DESCRIBE";
inline constexpr std::string_view HELP_PROFILE = "HELP_PROFILE";
inline constexpr std::string_view HELP_MONITOR = "HELP_MONITOR";
inline constexpr std::string_view HELP_SIM_RESET = "HELP_SIM_RESET";
inline constexpr std::string_view HELP_BACKUP = "HELP_BACKUP";
inline constexpr std::string_view HELP_RESTORE = "HELP_RESTORE";
inline constexpr std::string_view HELP_SHOW = "HELP_SHOW";
inline constexpr std::string_view HELP_KEYS = "HELP_KEYS";
inline constexpr std::string_view HELP_REMAP = "HELP_REMAP";
inline constexpr std::string_view HELP_RESET = "HELP_RESET";
inline constexpr std::string_view HELP_LIGHTING = "HELP_LIGHTING";
inline constexpr std::string_view HELP_MACRO = "HELP_MACRO";
inline constexpr std::string_view HELP_USERMODE = "HELP_USERMODE";
inline constexpr std::string_view HELP_COLOURS = "HELP_COLOURS";
inline constexpr std::string_view HELP_UDEV_CHECK = "HELP_UDEV_CHECK";
inline constexpr std::string_view HELP_SIM = "HELP_SIM";
inline constexpr std::string_view HELP_TARGETS = "HELP_TARGETS";
inline constexpr std::string_view HELP_LANGUAGE = "HELP_LANGUAGE";
inline constexpr std::string_view HELP_HELP = "HELP_HELP";
inline constexpr std::string_view OPTION_SIMULATE = "OPTION_SIMULATE";
inline constexpr std::string_view OPTION_FAULT = "OPTION_FAULT";
inline constexpr std::string_view OPTION_TRACE = "OPTION_TRACE";
inline constexpr std::string_view OPTION_JSON = "OPTION_JSON";
inline constexpr std::string_view OPTION_PROFILE = "OPTION_PROFILE";
inline constexpr std::string_view OPTION_MODE = "OPTION_MODE";
inline constexpr std::string_view OPTION_ALL = "OPTION_ALL";
inline constexpr std::string_view OPTION_UHID = "OPTION_UHID";
inline constexpr std::string_view OPTION_LANGUAGE = "OPTION_LANGUAGE";
inline constexpr std::string_view OPTION_HELP = "OPTION_HELP";
inline constexpr std::string_view OPTION_VERSION = "OPTION_VERSION";
inline constexpr std::string_view TAKES_NO_ARGUMENT = "TAKES_NO_ARGUMENT";
inline constexpr std::string_view TAKES_ONE_ARGUMENT = "TAKES_ONE_ARGUMENT";
inline constexpr std::string_view TAKES_TWO_ARGUMENTS = "TAKES_TWO_ARGUMENTS";
inline constexpr std::string_view TAKES_AT_MOST_ONE_ARGUMENT = "TAKES_AT_MOST_ONE_ARGUMENT";
inline constexpr std::string_view TAKES_AT_MOST_ARGUMENTS = "TAKES_AT_MOST_ARGUMENTS";
inline constexpr std::string_view TAKES_AT_LEAST_ONE_ARGUMENT = "TAKES_AT_LEAST_ONE_ARGUMENT";
inline constexpr std::string_view UNKNOWN_OPTION = "UNKNOWN_OPTION";
inline constexpr std::string_view UNKNOWN_COMMAND = "UNKNOWN_COMMAND";
inline constexpr std::string_view NO_COMMAND = "NO_COMMAND";
inline constexpr std::string_view OPTION_NEEDS_PROFILE = "OPTION_NEEDS_PROFILE";
inline constexpr std::string_view OPTION_NEEDS_MODE = "OPTION_NEEDS_MODE";
inline constexpr std::string_view OPTION_NEEDS_FAULT = "OPTION_NEEDS_FAULT";
inline constexpr std::string_view OPTION_NEEDS_LANGUAGE = "OPTION_NEEDS_LANGUAGE";
inline constexpr std::string_view NO_SUCH_LANGUAGE = "NO_SUCH_LANGUAGE";
inline constexpr std::string_view NOT_A_PROFILE = "NOT_A_PROFILE";
inline constexpr std::string_view NOT_A_USER_MODE = "NOT_A_USER_MODE";
inline constexpr std::string_view UNKNOWN_MODEL = "UNKNOWN_MODEL";
inline constexpr std::string_view FAULT_ONLY_SIMULATE = "FAULT_ONLY_SIMULATE";
inline constexpr std::string_view OPTION_GOES_WITH = "OPTION_GOES_WITH";
inline constexpr std::string_view JSON_NOT_WITH = "JSON_NOT_WITH";
inline constexpr std::string_view LIGHTING_TAKES = "LIGHTING_TAKES";
inline constexpr std::string_view MACRO_TAKES = "MACRO_TAKES";
inline constexpr std::string_view SIM_NEEDS_UHID = "SIM_NEEDS_UHID";
inline constexpr std::string_view USAGE_ERROR = "USAGE_ERROR";
inline constexpr std::string_view NOT_A_CYCLE_COUNT = "NOT_A_CYCLE_COUNT";
inline constexpr std::string_view UNKNOWN_KEY_NAME = "UNKNOWN_KEY_NAME";
inline constexpr std::string_view UNKNOWN_TARGET = "UNKNOWN_TARGET";
inline constexpr std::string_view KEY_NAMES_LIKE = "KEY_NAMES_LIKE";
inline constexpr std::string_view DID_YOU_MEAN = "DID_YOU_MEAN";
inline constexpr std::string_view NOT_A_FUNCTION = "NOT_A_FUNCTION";
inline constexpr std::string_view MACRO_NEEDS_NAME = "MACRO_NEEDS_NAME";
inline constexpr std::string_view NOT_IN_KEY_MAP = "NOT_IN_KEY_MAP";
inline constexpr std::string_view NOT_FIELD_VALUE = "NOT_FIELD_VALUE";
inline constexpr std::string_view UNKNOWN_LIGHTING_FIELD = "UNKNOWN_LIGHTING_FIELD";
inline constexpr std::string_view NOT_A_VALUE_FOR = "NOT_A_VALUE_FOR";
inline constexpr std::string_view SET_NEEDS_FIELD = "SET_NEEDS_FIELD";
inline constexpr std::string_view VALUES_RANGE = "VALUES_RANGE";
inline constexpr std::string_view VALUES_EFFECT = "VALUES_EFFECT";
inline constexpr std::string_view VALUES_COLOUR = "VALUES_COLOUR";
inline constexpr std::string_view DELAY_FIRST = "DELAY_FIRST";
inline constexpr std::string_view NOT_A_DELAY = "NOT_A_DELAY";
inline constexpr std::string_view DOWN_OR_UP = "DOWN_OR_UP";
inline constexpr std::string_view NOT_IN_MACRO = "NOT_IN_MACRO";
inline constexpr std::string_view TOO_MANY_ACTIONS = "TOO_MANY_ACTIONS";
inline constexpr std::string_view NO_ACTIONS = "NO_ACTIONS";
inline constexpr std::string_view NO_OWN_LIGHT = "NO_OWN_LIGHT";
inline constexpr std::string_view NOT_A_COLOUR = "NOT_A_COLOUR";
inline constexpr std::string_view NOT_KEY_COLOUR = "NOT_KEY_COLOUR";
inline constexpr std::string_view COLOUR_FOR_KEY = "COLOUR_FOR_KEY";
inline constexpr std::string_view STAND_IN = "STAND_IN";
inline constexpr std::string_view SIM_RESET_DONE = "SIM_RESET_DONE";
inline constexpr std::string_view CANNOT_RESET = "CANNOT_RESET";
inline constexpr std::string_view STAND_IN_UNREADABLE = "STAND_IN_UNREADABLE";
inline constexpr std::string_view LANGUAGE_KEPT = "LANGUAGE_KEPT";
inline constexpr std::string_view CANNOT_LIST_DEVICES = "CANNOT_LIST_DEVICES";
inline constexpr std::string_view NO_ACCESS = "NO_ACCESS";
inline constexpr std::string_view CANNOT_OPEN_NODE = "CANNOT_OPEN_NODE";
inline constexpr std::string_view NO_COMMAND_INTERFACE = "NO_COMMAND_INTERFACE";
inline constexpr std::string_view NO_KEYBOARD = "NO_KEYBOARD";
inline constexpr std::string_view RESULT_SUCCESS = "RESULT_SUCCESS";
inline constexpr std::string_view RESULT_NO_REPLY = "RESULT_NO_REPLY";
inline constexpr std::string_view RESULT_WRITE_FAILED = "RESULT_WRITE_FAILED";
inline constexpr std::string_view RESULT_BUSY = "RESULT_BUSY";
inline constexpr std::string_view RESULT_REFUSED = "RESULT_REFUSED";
inline constexpr std::string_view RESULT_BAD_PROFILE = "RESULT_BAD_PROFILE";
inline constexpr std::string_view RESULT_UNEXPECTED = "RESULT_UNEXPECTED";
inline constexpr std::string_view CANNOT_READ_KEY_MAPS = "CANNOT_READ_KEY_MAPS";
inline constexpr std::string_view CACHE_NOT_WRITTEN = "CACHE_NOT_WRITTEN";
inline constexpr std::string_view CANNOT_READ_KEYBOARD = "CANNOT_READ_KEYBOARD";
inline constexpr std::string_view NOTHING_WRITTEN = "NOTHING_WRITTEN";
inline constexpr std::string_view WRITTEN_IN_PART = "WRITTEN_IN_PART";
inline constexpr std::string_view WRITING_FAILED = "WRITING_FAILED";
inline constexpr std::string_view CANNOT_OPEN_FILE = "CANNOT_OPEN_FILE";
inline constexpr std::string_view FILE_TOO_LARGE = "FILE_TOO_LARGE";
inline constexpr std::string_view NOT_A_BACKUP = "NOT_A_BACKUP";
inline constexpr std::string_view NO_SUCH_FILE = "NO_SUCH_FILE";
inline constexpr std::string_view BACKUP_DAMAGED = "BACKUP_DAMAGED";
inline constexpr std::string_view CANNOT_WRITE_FILE = "CANNOT_WRITE_FILE";
inline constexpr std::string_view CANNOT_WRITE_FILE_BECAUSE = "CANNOT_WRITE_FILE_BECAUSE";
inline constexpr std::string_view BACKUP_SAVED = "BACKUP_SAVED";
inline constexpr std::string_view CACHE_NOT_SAVED = "CACHE_NOT_SAVED";
inline constexpr std::string_view RESTORED = "RESTORED";
inline constexpr std::string_view NO_SUCH_KEY = "NO_SUCH_KEY";
inline constexpr std::string_view NO_SUCH_MACRO = "NO_SUCH_MACRO";
inline constexpr std::string_view HAS_NO_MACROS = "HAS_NO_MACROS";
inline constexpr std::string_view ITS_MACROS = "ITS_MACROS";
inline constexpr std::string_view CANNOT_CHANGE_RECORD = "CANNOT_CHANGE_RECORD";
inline constexpr std::string_view REMAPPED = "REMAPPED";
inline constexpr std::string_view OWN_FUNCTION_AGAIN = "OWN_FUNCTION_AGAIN";
inline constexpr std::string_view PROFILE_HEADING = "PROFILE_HEADING";
inline constexpr std::string_view PROFILE_HEADING_ACTIVE = "PROFILE_HEADING_ACTIVE";
inline constexpr std::string_view OWN_FUNCTION = "OWN_FUNCTION";
inline constexpr std::string_view NO_KEYS = "NO_KEYS";
inline constexpr std::string_view NO_REASSIGNED_KEYS = "NO_REASSIGNED_KEYS";
inline constexpr std::string_view MACROS_NONE = "MACROS_NONE";
inline constexpr std::string_view MACROS_HEADING = "MACROS_HEADING";
inline constexpr std::string_view MACRO_LINE = "MACRO_LINE";
inline constexpr std::string_view CYCLES_ONE = "CYCLES_ONE";
inline constexpr std::string_view CYCLES_MANY = "CYCLES_MANY";
inline constexpr std::string_view ACTIONS_ONE = "ACTIONS_ONE";
inline constexpr std::string_view ACTIONS_MANY = "ACTIONS_MANY";
inline constexpr std::string_view MACRO_NAME_LENGTH = "MACRO_NAME_LENGTH";
inline constexpr std::string_view MACRO_EXISTS = "MACRO_EXISTS";
inline constexpr std::string_view MACROS_FULL = "MACROS_FULL";
inline constexpr std::string_view MACRO_PLAYED_BY_KEYS = "MACRO_PLAYED_BY_KEYS";
inline constexpr std::string_view MACRO_DELETED = "MACRO_DELETED";
inline constexpr std::string_view CANNOT_READ_DEVICE_INFO = "CANNOT_READ_DEVICE_INFO";
inline constexpr std::string_view INFO_KEYBOARD = "INFO_KEYBOARD";
inline constexpr std::string_view INFO_INTERFACE = "INFO_INTERFACE";
inline constexpr std::string_view INFO_FIRMWARE = "INFO_FIRMWARE";
inline constexpr std::string_view INFO_ACTIVE_PROFILE = "INFO_ACTIVE_PROFILE";
inline constexpr std::string_view INFO_MACRO_CAPACITY = "INFO_MACRO_CAPACITY";
inline constexpr std::string_view INFO_EFFECTS = "INFO_EFFECTS";
inline constexpr std::string_view INFO_NO_EFFECTS = "INFO_NO_EFFECTS";
inline constexpr std::string_view CANNOT_MAKE_ACTIVE = "CANNOT_MAKE_ACTIVE";
inline constexpr std::string_view CANNOT_READ_ACTIVE_PROFILE = "CANNOT_READ_ACTIVE_PROFILE";
inline constexpr std::string_view CANNOT_READ_KEYBOARD_PROFILE = "CANNOT_READ_KEYBOARD_PROFILE";
inline constexpr std::string_view CANNOT_READ_KEYBOARD_INFO = "CANNOT_READ_KEYBOARD_INFO";
inline constexpr std::string_view EFFECT_NOT_OFFERED = "EFFECT_NOT_OFFERED";
inline constexpr std::string_view LIGHTING_WRITE_FAILED = "LIGHTING_WRITE_FAILED";
inline constexpr std::string_view OUT_OF_RANGE = "OUT_OF_RANGE";
inline constexpr std::string_view LABEL_EFFECT = "LABEL_EFFECT";
inline constexpr std::string_view LABEL_BRIGHTNESS = "LABEL_BRIGHTNESS";
inline constexpr std::string_view LABEL_SPEED = "LABEL_SPEED";
inline constexpr std::string_view LABEL_DIRECTION = "LABEL_DIRECTION";
inline constexpr std::string_view LABEL_COLOUR = "LABEL_COLOUR";
inline constexpr std::string_view LABEL_MULTICOLOUR = "LABEL_MULTICOLOUR";
inline constexpr std::string_view LABEL_OPTION = "LABEL_OPTION";
inline constexpr std::string_view LABEL_RATE = "LABEL_RATE";
inline constexpr std::string_view DIRECTION_OUTWARD = "DIRECTION_OUTWARD";
inline constexpr std::string_view DIRECTION_INWARD = "DIRECTION_INWARD";
inline constexpr std::string_view DIRECTION_UP = "DIRECTION_UP";
inline constexpr std::string_view DIRECTION_DOWN = "DIRECTION_DOWN";
inline constexpr std::string_view DIRECTION_LEFT = "DIRECTION_LEFT";
inline constexpr std::string_view DIRECTION_RIGHT = "DIRECTION_RIGHT";
inline constexpr std::string_view USER_MODE_HEADING = "USER_MODE_HEADING";
inline constexpr std::string_view KEY_COLOURS_SENT_ONE = "KEY_COLOURS_SENT_ONE";
inline constexpr std::string_view KEY_COLOURS_SENT_MANY = "KEY_COLOURS_SENT_MANY";
inline constexpr std::string_view USER_MODE_SENT = "USER_MODE_SENT";
inline constexpr std::string_view SENDING_COLOURS_FAILED = "SENDING_COLOURS_FAILED";
inline constexpr std::string_view COLOURS_KEPT_NOT_SENT = "COLOURS_KEPT_NOT_SENT";
inline constexpr std::string_view USER_MODES_UNREADABLE = "USER_MODES_UNREADABLE";
inline constexpr std::string_view KEY_COLOURS_UNKEPT = "KEY_COLOURS_UNKEPT";
inline constexpr std::string_view USER_MODE_UNKEPT = "USER_MODE_UNKEPT";
inline constexpr std::string_view FILE_NOT_WRITABLE = "FILE_NOT_WRITABLE";

inline constexpr std::array kAll = {
    USAGE,
    COMMANDS,
    OPTIONS,
    EXAMPLE,
    OPTIONS_HINT,
    TRY_HELP,
    WORD_OR,
    LIST_COMMA,
    WORD_AND,
    KEYS_NOTE,
    EXIT_STATUS,
    RELOAD_NOTE,
    SUMMARY_LIST,
    SUMMARY_INFO,
    SUMMARY_DESCRIBE,
    SUMMARY_PROFILE,
    SUMMARY_MONITOR,
    SUMMARY_SIM_RESET,
    SUMMARY_BACKUP,
    SUMMARY_RESTORE,
    SUMMARY_SHOW,
    SUMMARY_KEYS,
    SUMMARY_REMAP,
    SUMMARY_RESET,
    SUMMARY_LIGHTING,
    SUMMARY_MACRO,
    SUMMARY_USERMODE,
    SUMMARY_COLOURS,
    SUMMARY_UDEV_CHECK,
    SUMMARY_SIM,
    SUMMARY_TARGETS,
    SUMMARY_LANGUAGE,
    SUMMARY_HELP,
    HELP_LIST,
    HELP_INFO,
    HELP_DESCRIBE,
    HELP_PROFILE,
    HELP_MONITOR,
    HELP_SIM_RESET,
    HELP_BACKUP,
    HELP_RESTORE,
    HELP_SHOW,
    HELP_KEYS,
    HELP_REMAP,
    HELP_RESET,
    HELP_LIGHTING,
    HELP_MACRO,
    HELP_USERMODE,
    HELP_COLOURS,
    HELP_UDEV_CHECK,
    HELP_SIM,
    HELP_TARGETS,
    HELP_LANGUAGE,
    HELP_HELP,
    OPTION_SIMULATE,
    OPTION_FAULT,
    OPTION_TRACE,
    OPTION_JSON,
    OPTION_PROFILE,
    OPTION_MODE,
    OPTION_ALL,
    OPTION_UHID,
    OPTION_LANGUAGE,
    OPTION_HELP,
    OPTION_VERSION,
    TAKES_NO_ARGUMENT,
    TAKES_ONE_ARGUMENT,
    TAKES_TWO_ARGUMENTS,
    TAKES_AT_MOST_ONE_ARGUMENT,
    TAKES_AT_MOST_ARGUMENTS,
    TAKES_AT_LEAST_ONE_ARGUMENT,
    UNKNOWN_OPTION,
    UNKNOWN_COMMAND,
    NO_COMMAND,
    OPTION_NEEDS_PROFILE,
    OPTION_NEEDS_MODE,
    OPTION_NEEDS_FAULT,
    OPTION_NEEDS_LANGUAGE,
    NO_SUCH_LANGUAGE,
    NOT_A_PROFILE,
    NOT_A_USER_MODE,
    UNKNOWN_MODEL,
    FAULT_ONLY_SIMULATE,
    OPTION_GOES_WITH,
    JSON_NOT_WITH,
    LIGHTING_TAKES,
    MACRO_TAKES,
    SIM_NEEDS_UHID,
    USAGE_ERROR,
    NOT_A_CYCLE_COUNT,
    UNKNOWN_KEY_NAME,
    UNKNOWN_TARGET,
    KEY_NAMES_LIKE,
    DID_YOU_MEAN,
    NOT_A_FUNCTION,
    MACRO_NEEDS_NAME,
    NOT_IN_KEY_MAP,
    NOT_FIELD_VALUE,
    UNKNOWN_LIGHTING_FIELD,
    NOT_A_VALUE_FOR,
    SET_NEEDS_FIELD,
    VALUES_RANGE,
    VALUES_EFFECT,
    VALUES_COLOUR,
    DELAY_FIRST,
    NOT_A_DELAY,
    DOWN_OR_UP,
    NOT_IN_MACRO,
    TOO_MANY_ACTIONS,
    NO_ACTIONS,
    NO_OWN_LIGHT,
    NOT_A_COLOUR,
    NOT_KEY_COLOUR,
    COLOUR_FOR_KEY,
    STAND_IN,
    SIM_RESET_DONE,
    CANNOT_RESET,
    STAND_IN_UNREADABLE,
    LANGUAGE_KEPT,
    CANNOT_LIST_DEVICES,
    NO_ACCESS,
    CANNOT_OPEN_NODE,
    NO_COMMAND_INTERFACE,
    NO_KEYBOARD,
    RESULT_SUCCESS,
    RESULT_NO_REPLY,
    RESULT_WRITE_FAILED,
    RESULT_BUSY,
    RESULT_REFUSED,
    RESULT_BAD_PROFILE,
    RESULT_UNEXPECTED,
    CANNOT_READ_KEY_MAPS,
    CACHE_NOT_WRITTEN,
    CANNOT_READ_KEYBOARD,
    NOTHING_WRITTEN,
    WRITTEN_IN_PART,
    WRITING_FAILED,
    CANNOT_OPEN_FILE,
    FILE_TOO_LARGE,
    NOT_A_BACKUP,
    NO_SUCH_FILE,
    BACKUP_DAMAGED,
    CANNOT_WRITE_FILE,
    CANNOT_WRITE_FILE_BECAUSE,
    BACKUP_SAVED,
    CACHE_NOT_SAVED,
    RESTORED,
    NO_SUCH_KEY,
    NO_SUCH_MACRO,
    HAS_NO_MACROS,
    ITS_MACROS,
    CANNOT_CHANGE_RECORD,
    REMAPPED,
    OWN_FUNCTION_AGAIN,
    PROFILE_HEADING,
    PROFILE_HEADING_ACTIVE,
    OWN_FUNCTION,
    NO_KEYS,
    NO_REASSIGNED_KEYS,
    MACROS_NONE,
    MACROS_HEADING,
    MACRO_LINE,
    CYCLES_ONE,
    CYCLES_MANY,
    ACTIONS_ONE,
    ACTIONS_MANY,
    MACRO_NAME_LENGTH,
    MACRO_EXISTS,
    MACROS_FULL,
    MACRO_PLAYED_BY_KEYS,
    MACRO_DELETED,
    CANNOT_READ_DEVICE_INFO,
    INFO_KEYBOARD,
    INFO_INTERFACE,
    INFO_FIRMWARE,
    INFO_ACTIVE_PROFILE,
    INFO_MACRO_CAPACITY,
    INFO_EFFECTS,
    INFO_NO_EFFECTS,
    CANNOT_MAKE_ACTIVE,
    CANNOT_READ_ACTIVE_PROFILE,
    CANNOT_READ_KEYBOARD_PROFILE,
    CANNOT_READ_KEYBOARD_INFO,
    EFFECT_NOT_OFFERED,
    LIGHTING_WRITE_FAILED,
    OUT_OF_RANGE,
    LABEL_EFFECT,
    LABEL_BRIGHTNESS,
    LABEL_SPEED,
    LABEL_DIRECTION,
    LABEL_COLOUR,
    LABEL_MULTICOLOUR,
    LABEL_OPTION,
    LABEL_RATE,
    DIRECTION_OUTWARD,
    DIRECTION_INWARD,
    DIRECTION_UP,
    DIRECTION_DOWN,
    DIRECTION_LEFT,
    DIRECTION_RIGHT,
    USER_MODE_HEADING,
    KEY_COLOURS_SENT_ONE,
    KEY_COLOURS_SENT_MANY,
    USER_MODE_SENT,
    SENDING_COLOURS_FAILED,
    COLOURS_KEPT_NOT_SENT,
    USER_MODES_UNREADABLE,
    KEY_COLOURS_UNKEPT,
    USER_MODE_UNKEPT,
    FILE_NOT_WRITABLE,
};

}  // namespace zarvin::cli::cli_text
