#include "store/LightingSwitchFile.h"

#include "store/IniFile.h"

namespace zarvin {

namespace {
constexpr std::string_view kSection = "KEYCOLOR";
constexpr std::string_view kKey = "DengCheck";
}  // namespace

std::filesystem::path LightingSwitchFile(const std::filesystem::path& userDataFolder) {
    return userDataFolder / "duva.ini";
}

std::string ReadDengCheck(const std::filesystem::path& file) {
    return ReadIniString(file, kSection, kKey, "0");
}

bool WriteDengCheck(const std::filesystem::path& file, bool on) {
    return WriteIniString(file, kSection, kKey, std::string(on ? "1" : "0"));
}

}  // namespace zarvin
