#pragma once

// The context of a zarvinctl command run inside a test: the language file of the sources beside
// the "program", the per-user folders under `home`. Needs ZARVIN_SOURCE_LANGUAGE_FILE.

#include <filesystem>

#include "store/AppContext.h"
#include "support/TempFolder.h"

namespace zarvin::test {

inline AppContext ZarvinctlContextIn(const TempFolder& home) {
    return AppContext(
        AppRoots{std::filesystem::path(ZARVIN_SOURCE_LANGUAGE_FILE).parent_path() / "zarvinctl",
                 home / "data", home / "config", home / "run"});
}

}  // namespace zarvin::test
