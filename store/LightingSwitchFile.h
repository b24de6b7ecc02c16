#pragma once

// The lighting switch is kept between runs in the per-user "duva.ini": section "KEYCOLOR", key
// "DengCheck", "1" for on and "0" for off.

#include <filesystem>
#include <string>

namespace zarvin {

// "duva.ini" in the per-user folder.
std::filesystem::path LightingSwitchFile(const std::filesystem::path& userDataFolder);
// The stored value; "0" when there is none.
std::string ReadDengCheck(const std::filesystem::path& file);
// False when the file could not be written.
bool WriteDengCheck(const std::filesystem::path& file, bool on);

}  // namespace zarvin
