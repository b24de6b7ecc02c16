#pragma once

#include <filesystem>

#include "sim/SimModel.h"

namespace zarvin::cli {

// Where the stand-in keyboard keeps its memory between runs: one file per model in the user's
// data folder.
std::filesystem::path SimImageFile(const std::filesystem::path& userDataFolder,
                                   sim::SimModel model);

}  // namespace zarvin::cli
