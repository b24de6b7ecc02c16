#pragma once

// The commands of zarvinctl. Each writes its result to `out` and its errors (one line, without
// the program name) to `err`, and returns the exit status.

#include <filesystem>
#include <ostream>
#include <string>

#include "device/HidNodeSource.h"

namespace zarvin::cli {

class KeyboardConnection;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int RunList(HidNodeSource& source, std::ostream& out, std::ostream& err);

// `label` is added to the keyboard line, for example "(stand-in)".
int RunInfo(KeyboardConnection& connection, const std::string& label, std::ostream& out,
            std::ostream& err);

// PATH names a node of `source` (with or without its "#..." part) or a descriptor file.
int RunDescribe(HidNodeSource& source, const std::string& path, std::ostream& out,
                std::ostream& err);

}  // namespace zarvin::cli
