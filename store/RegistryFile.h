#pragma once

// The registry stand-in: the current user's registry values in one text file written in the
// syntax of Windows' .reg files, so that a file exported on Windows reads here and a file
// written here reads as text:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\VX77HUE_8246]
//   "dwLanguageId"=dword:00000416
//   "Name"="a \"quoted\" C:\\path"
//
// Keys and value names match without regard to case. Double-words and strings are the types
// the program uses; a value of any other type (hex:..., hex(2):...) is kept as it was read and
// reported as of another type. A damaged file is read as far as it can be: each line that is
// not understood is skipped. Every call reads the file afresh; a write rewrites it through a
// temporary file, keeping every value it could read.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zarvin {

// Where the registry stand-in lives below the user's configuration folder ($XDG_CONFIG_HOME).
std::filesystem::path RegistryFilePath(const std::filesystem::path& configFolder);

enum class RegistryValueState {
    kMissing,    // no such key or value, or no readable file
    kOtherType,  // the value exists with another type
    kPresent,
};

template <typename T>
struct RegistryValue {
    RegistryValueState state = RegistryValueState::kMissing;
    T value{};

    bool Present() const { return state == RegistryValueState::kPresent; }
};

class RegistryFile {
public:
    explicit RegistryFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& File() const { return file_; }

    // `key` is below HKEY_CURRENT_USER, for example "Software\\VX77HUE_8246".
    RegistryValue<uint32_t> ReadDword(std::string_view key, std::string_view name) const;
    RegistryValue<std::string> ReadString(std::string_view key, std::string_view name) const;

    // Create the folder, the file and the key as needed and replace a value of the name,
    // whatever its type. False when the file cannot be written, when an existing file cannot be
    // read (it is then left alone), or when a name or a string holds a line break or a NUL,
    // which the file's syntax cannot carry.
    bool WriteDword(std::string_view key, std::string_view name, uint32_t value) const;
    bool WriteString(std::string_view key, std::string_view name, std::string_view value) const;

private:
    std::filesystem::path file_;
};

}  // namespace zarvin
