#pragma once

#include <filesystem>

namespace zarvin {

// The full path of the running program file; empty when it cannot be found.
std::filesystem::path ProgramFilePath();

}  // namespace zarvin
