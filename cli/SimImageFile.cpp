#include "cli/SimImageFile.h"

#include <string>

namespace zarvin::cli {

std::filesystem::path SimImageFile(const std::filesystem::path& userDataFolder,
                                   sim::SimModel model) {
    return userDataFolder / ("stand-in-keyboard-" + std::string(sim::InfoOf(model).name) + ".img");
}

}  // namespace zarvin::cli
