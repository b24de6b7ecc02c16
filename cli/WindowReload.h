#pragma once

// hidraw does not lock a device, so the window and zarvinctl may both write to the keyboard.
// After zarvinctl changes the keyboard it asks the running window, if any, to reload, so that
// the window never shows stale settings.

#include <chrono>
#include <filesystem>
#include <ostream>

#include "cli/CliOptions.h"

namespace zarvin::cli {

// True for the commands that write to the keyboard: profile N, restore, remap, reset,
// lighting set and usermode, and sim-reset, which rewrites the stand-in's memory.
bool ChangesKeyboard(const CliOptions& options);

// How long a script waits for a window that does not take the request (its thread busy or hung).
inline constexpr std::chrono::seconds kWindowAnswerTime{10};

// Asks the instance listening in `runtimeFolder` to reload; the window answers when it takes the
// request and reloads as soon as it is free (at once, or when its open message box is closed).
// No running window is no error; one that cannot be reached or does not answer within
// kWindowAnswerTime gets a warning line on `err`.
void AskWindowToReload(const std::filesystem::path& runtimeFolder, std::ostream& err);

}  // namespace zarvin::cli
