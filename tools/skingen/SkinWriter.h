#pragma once

// Writes the whole skin into one folder: "Main.ini", "Composite.ini" and "Profile.ini", each
// window's background, mask and state images, and the lighting panel's pictures; and the same
// files in light colours into its subfolder kLightSkinFolder.
// Throws std::runtime_error naming the file that could not be written.

#include <filesystem>
#include <string>

namespace zarvin::skingen {

// The windows look for the light skin under this name (skin/ColourSchemeLook).
inline constexpr const char* kLightSkinFolder = "Light";

void WriteSkin(const std::filesystem::path& folder, const std::string& homePage);

}  // namespace zarvin::skingen
