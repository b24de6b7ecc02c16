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

inline constexpr std::array kAll = {
    USAGE,
    COMMANDS,
    OPTIONS,
    EXAMPLE,
    OPTIONS_HINT,
    TRY_HELP,
    WORD_OR,
    LIST_COMMA,
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
};

}  // namespace zarvin::cli::cli_text
