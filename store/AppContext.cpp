#include "store/AppContext.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/ProgramPath.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserFolderName = "VX77HUE_8246/";

// The folder part of a file's path, ending in '/'.
fs::path FolderOf(const fs::path& file) {
    std::string folder = file.parent_path().string();
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    return folder;
}

fs::path Beside(const fs::path& folder, const char* relative) {
    return folder.string() + relative;
}

// Relative or empty values do not count, as the XDG base directory rules say.
std::optional<fs::path> AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return fs::path(value);
}

fs::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

fs::path FallbackRuntimeDir() {
    std::error_code ec;
    fs::path temp = fs::temp_directory_path(ec);
    if (ec) {
        temp = "/tmp";
    }
    return temp / ("zarvin-" + std::to_string(::getuid()));
}

}  // namespace

AppRoots SystemRoots() {
    AppRoots roots;
    roots.programFile = ProgramFilePath();
    const auto dataHome = AbsoluteFromEnvironment("XDG_DATA_HOME");
    const auto configHome = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    const fs::path home = dataHome && configHome ? fs::path() : HomeFolder();
    roots.dataHome = dataHome.value_or(home / ".local/share");
    roots.configHome = configHome.value_or(home / ".config");
    roots.runtimeDir = AbsoluteFromEnvironment("XDG_RUNTIME_DIR").value_or(FallbackRuntimeDir());
    return roots;
}

AppContext::AppContext(const AppRoots& roots)
    : programFolder(FolderOf(roots.programFile)),
      programFileName(roots.programFile.filename().string()),
      helpFolder(Beside(programFolder, "Help/")),
      mainSkinFile(Beside(programFolder, "Skins/Main.ini")),
      skinFolder(FolderOf(mainSkinFile)),
      userColourPrefix(Beside(programFolder, "Skins/UserDengColor_")),
      profileSkinFile(Beside(programFolder, "Skins/Profile.ini")),
      profileSkinFolder(FolderOf(profileSkinFile)),
      compositeSkinFile(Beside(programFolder, "Skins/Composite.ini")),
      compositeSkinFolder(FolderOf(compositeSkinFile)),
      daemonPath(Beside(programFolder, "DoZovivu")),
      userDataFolder(roots.dataHome / kUserFolderName),
      configFolder(roots.configHome),
      runtimeFolder(roots.runtimeDir) {}

}  // namespace zarvin
