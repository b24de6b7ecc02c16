#pragma once

// Private-profile INI files with the Windows semantics: sections and keys match without regard
// to case, the first match wins, a missing file, section or key gives the caller's default, a
// value is cut to the caller's buffer, and a write creates the file, the section and the key.
// Blanks around names and values are trimmed, one pair of matching single or double quotes
// around a value is dropped, and lines starting with ';' or holding no '=' are not keys. A file
// that cannot be read (or that is larger than any settings file) counts as missing.
// Files are read as UTF-8, or as UTF-16LE when they start with its byte order mark (files made
// on Windows). Writes go to a temporary file in the same folder that is then renamed over the
// target, so a failed write keeps the previous file.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zarvin {

// Text buffers hold 260 characters with the terminator, as on Windows.
inline constexpr size_t kIniBufferChars = 260;

// GetPrivateProfileString: the value, or `fallback` when the file, section or key is missing;
// cut to `bufferChars` - 1 characters (code points, not bytes).
std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view fallback,
                          size_t bufferChars = kIniBufferChars);

// The keys of one section, read and parsed once, for a reader of many keys of a large file.
class IniSectionValues {
public:
    // As ReadIniString on the file the section was read from.
    std::string Read(std::string_view key, std::string_view fallback,
                     size_t bufferChars = kIniBufferChars) const;

private:
    friend IniSectionValues ReadIniSection(const std::filesystem::path& file,
                                           std::string_view section);
    // By name in lower case; the first key of a name wins.
    std::unordered_map<std::string, std::string> values_;
};

IniSectionValues ReadIniSection(const std::filesystem::path& file, std::string_view section);

// GetPrivateProfileInt: the leading decimal number of the value; `fallback` when missing.
int ReadIniInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
               int fallback);

// WritePrivateProfileString. A null `value` removes the key. Every other line of the file keeps
// its bytes. False when the file cannot be read or written, and for a name or value that would
// break the file's lines (a line break, an '=' in a key); the previous file is then left as it
// was. The folder must exist.
bool WriteIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, const std::optional<std::string>& value);

// Several keys of one section in one write: the file is read and replaced once.
bool WriteIniStrings(const std::filesystem::path& file, std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values);

// The key names of a section, in file order, each name once (for files whose keys are not known
// beforehand).
std::vector<std::string> ReadIniKeys(const std::filesystem::path& file, std::string_view section);

}  // namespace zarvin
