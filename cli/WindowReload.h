#pragma once

// hidraw does not lock a device, so the window and zarvinctl may both write to the keyboard.
// After zarvinctl changes the keyboard it asks the running window, if any, to reload, so that
// the window never shows stale settings.

#include <filesystem>
#include <ostream>

#include "cli/CliOptions.h"

namespace zarvin::cli {

// True for the commands that write to the keyboard: profile N, restore, remap, reset,
// lighting set and usermode, and sim-reset, which rewrites the stand-in's memory.
bool ChangesKeyboard(const CliOptions& options);

// Asks the instance listening in `runtimeFolder` to reload and waits until it has. No running
// window is no error; one that cannot be reached gets a warning line on `err`.
void AskWindowToReload(const std::filesystem::path& runtimeFolder, std::ostream& err);

}  // namespace zarvin::cli
