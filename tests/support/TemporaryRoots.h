#pragma once

// The program's folders inside a test's temporary folder: the program in bin/, its data,
// configuration and runtime folders beside it.

#include <filesystem>

#include "store/AppContext.h"
#include "support/TempFolder.h"

namespace zarvin::test_support {

// `programData`, when given, is a folder (the build's bin/) whose language file and Skins/ the
// program folder links to.
inline AppRoots TemporaryRoots(const test::TempFolder& folder,
                               const std::filesystem::path& programData = {}) {
    const std::filesystem::path programFolder = folder / "bin";
    std::filesystem::create_directories(programFolder);
    if (!programData.empty()) {
        std::filesystem::create_symlink(programData / "Lang0416.ini",
                                        programFolder / "Lang0416.ini");
        std::filesystem::create_directory_symlink(programData / "Skins", programFolder / "Skins");
    }
    return {programFolder / "zarvin", folder / "data", folder / "config", folder / "run"};
}

}  // namespace zarvin::test_support
