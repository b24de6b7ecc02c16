#pragma once

// The process-wide values that start-up builds before any window or thread exists: the program's
// folders and the paths beside it, the per-user folders and the two configuration locks.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>

namespace zarvin {

// Where the program and the user's files live; tests pass temporary folders.
struct AppRoots {
    std::filesystem::path programFile;
    std::filesystem::path dataHome;
    std::filesystem::path configHome;
    std::filesystem::path runtimeDir;
};

// The roots of this process and user, following the XDG base directory rules.
AppRoots SystemRoots();

class AppContext {
public:
    explicit AppContext(const AppRoots& roots);
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // Windows' 260-character path limit has no counterpart here: no path is cut or refused.
    // The program's folders and userDataFolder end in '/'; configFolder and runtimeFolder are the
    // roots as given.
    const std::filesystem::path programFolder;
    const std::string programFileName;
    const std::filesystem::path helpFolder;
    const std::filesystem::path mainSkinFile;
    const std::filesystem::path skinFolder;
    const std::filesystem::path userColourPrefix;
    const std::filesystem::path profileSkinFile;
    const std::filesystem::path profileSkinFolder;
    const std::filesystem::path compositeSkinFile;
    const std::filesystem::path compositeSkinFolder;
    const std::filesystem::path daemonPath;

    const std::filesystem::path userDataFolder;
    const std::filesystem::path configFolder;
    const std::filesystem::path runtimeFolder;

    // Where both are taken, the working lock comes first. Declared in that order so that they
    // are built working first and destroyed applied first.
    std::recursive_mutex workingConfigLock;
    std::recursive_mutex appliedConfigLock;

    // False while the main window may still open by itself on the first connection.
    std::atomic<bool> autoShowDone{false};
};

}  // namespace zarvin
