#pragma once

// Writes the whole skin into one folder: "Main.ini", "Composite.ini" and "Profile.ini", each
// window's background, mask and state images, and the lighting panel's pictures.
// Throws std::runtime_error naming the file that could not be written.

#include <filesystem>
#include <string>

namespace zarvin::skingen {

void WriteSkin(const std::filesystem::path& folder, const std::string& homePage);

}  // namespace zarvin::skingen
