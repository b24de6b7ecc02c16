#pragma once

// The program's folders inside a test's temporary folder: the program in bin/, its data,
// configuration and runtime folders beside it.

#include <filesystem>
#include <string>

#include "store/AppContext.h"
#include "support/TempFolder.h"

namespace zarvin::test_support {

// `programData`, when given, is a folder (the build's bin/) whose language files and Skins/ the
// program folder links to.
inline AppRoots TemporaryRoots(const test::TempFolder& folder,
                               const std::filesystem::path& programData = {}) {
    const std::filesystem::path programFolder = folder / "bin";
    std::filesystem::create_directories(programFolder);
    if (!programData.empty()) {
        for (const auto& entry : std::filesystem::directory_iterator(programData)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("Lang") && name.ends_with(".ini")) {
                std::filesystem::create_symlink(entry.path(), programFolder / name);
            }
        }
        std::filesystem::create_directory_symlink(programData / "Skins", programFolder / "Skins");
    }
    return {programFolder / "zarvin", folder / "data", folder / "config", folder / "run"};
}

}  // namespace zarvin::test_support
