#pragma once

// Where a write to a path lands. Links are followed as the user's own links in the user's own
// folders always were, but a link that another user owns, or that lies in a folder others may
// write to, is not: whoever can make it could point it at any file this user may write, and the
// write would replace that file.

#include <filesystem>
#include <optional>
#include <string>

namespace zarvin {

// The path with every link resolved (the file itself may be missing); nothing when a link on
// the way may not be followed, or the links go round, with the reason in `error`.
std::optional<std::filesystem::path> WriteTarget(const std::filesystem::path& file,
                                                 std::string& error);

}  // namespace zarvin
