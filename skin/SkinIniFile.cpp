#include "skin/SkinIniFile.h"

#include "store/IniFile.h"

namespace zarvin {

std::optional<std::string> CIniFile::GetString(std::string_view section, std::string_view key,
                                               std::string_view fallback) const {
    std::string value = ReadIniString(path_, section, key, fallback, kMaxValueChars + 1);
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

bool CIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) const {
    return WriteIniString(path_, section, key, std::string(value));
}

}  // namespace zarvin
