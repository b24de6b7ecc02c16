#pragma once

// CIniFile: a reader bound to one skin file, as the skinned dialog base reads its "SCREEN"
// section with it. A missing file, section or key reads as missing (store/IniFile.h rules).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zarvin {

class CIniFile {
public:
    // Longest value GetString returns, in characters.
    static constexpr size_t kMaxValueChars = 2046;

    CIniFile() = default;
    explicit CIniFile(std::filesystem::path path) : path_(std::move(path)) {}

    // Paths are kept whole: the 260-character limit of Windows does not apply here.
    void SetPath(std::filesystem::path path) { path_ = std::move(path); }
    const std::filesystem::path& Path() const { return path_; }

    // The value of `key`, or `fallback` when the key is missing, cut to kMaxValueChars. An empty
    // result reads as nullopt, so callers never mistake an empty value for a file name.
    std::optional<std::string> GetString(std::string_view section, std::string_view key,
                                         std::string_view fallback) const;

    // Writes one value, creating the file and the section when needed. False when the file
    // cannot be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::filesystem::path path_;
};

}  // namespace zarvin
