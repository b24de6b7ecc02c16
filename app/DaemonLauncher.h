#pragma once

// The companion daemon is a separate program that may sit beside this one. It is started
// detached, without arguments, and never waited for or stopped; when it is not there nothing
// happens.

#include <filesystem>

namespace zarvin {

// Whether the daemon was started.
bool LaunchDaemon(const std::filesystem::path& daemonPath);

}  // namespace zarvin
