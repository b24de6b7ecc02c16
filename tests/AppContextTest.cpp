#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <type_traits>

#include "platform/ProgramPath.h"
#include "store/AppContext.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

static_assert(!std::is_copy_constructible_v<AppContext>);
static_assert(!std::is_copy_assignable_v<AppContext>);

struct ProgramCase {
    std::string programFile;
    std::string folder;
    std::string fileName;
};

void PrintTo(const ProgramCase& c, std::ostream* out) {
    *out << c.programFile;
}

class AppContextPaths : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(AppContextPaths, AreBuiltFromTheProgramFolder) {
    const ProgramCase& c = GetParam();
    const AppContext context(AppRoots{c.programFile, "/data", "/config", "/run/user/1000"});
    const std::string& folder = c.folder;

    EXPECT_EQ(context.programFolder.string(), folder);
    EXPECT_EQ(context.programFileName, c.fileName);
    EXPECT_EQ(context.helpFolder.string(), folder + "Help/");
    EXPECT_EQ(context.mainSkinFile.string(), folder + "Skins/Main.ini");
    EXPECT_EQ(context.skinFolder.string(), folder + "Skins/");
    EXPECT_EQ(context.userColourPrefix.string(), folder + "Skins/UserDengColor_");
    EXPECT_EQ(context.profileSkinFile.string(), folder + "Skins/Profile.ini");
    EXPECT_EQ(context.profileSkinFolder.string(), folder + "Skins/");
    EXPECT_EQ(context.compositeSkinFile.string(), folder + "Skins/Composite.ini");
    EXPECT_EQ(context.compositeSkinFolder.string(), folder + "Skins/");
    EXPECT_EQ(context.daemonPath.string(), folder + "DoZovivu");
}

const std::string kLongName(300, 'z');
const std::string kLongFolder = "/opt/" + std::string(250, 'd') + "/" + std::string(250, 'e') + "/";

INSTANTIATE_TEST_SUITE_P(
    ProgramFiles, AppContextPaths,
    ::testing::Values(ProgramCase{"/opt/zarvin/zarvin", "/opt/zarvin/", "zarvin"},
                      ProgramCase{"/usr/lib/zarvin/Zarvin.bin", "/usr/lib/zarvin/", "Zarvin.bin"},
                      ProgramCase{"/zarvin", "/", "zarvin"},
                      ProgramCase{"/home/ana/Área de trabalho/zarvin.v2.x",
                                  "/home/ana/Área de trabalho/", "zarvin.v2.x"},
                      // Far past Windows' 260 characters: nothing is cut.
                      ProgramCase{kLongFolder + kLongName, kLongFolder, kLongName}));

TEST(AppContext, PerUserFoldersComeFromTheRoots) {
    for (const char* dataHome : {"/home/u/.local/share", "/home/u/.local/share/"}) {
        const AppContext context(
            AppRoots{"/opt/zarvin/zarvin", dataHome, "/home/u/.config", "/run/user/1000"});
        EXPECT_EQ(context.userDataFolder.string(), "/home/u/.local/share/VX77HUE_8246/");
        EXPECT_EQ(context.configFolder.string(), "/home/u/.config");
        EXPECT_EQ(context.runtimeFolder.string(), "/run/user/1000");
        EXPECT_FALSE(context.autoShowDone.load());
    }
}

TEST(ProgramFilePath, NamesThisTestProgram) {
    const fs::path program = ProgramFilePath();
    EXPECT_TRUE(program.is_absolute()) << program;
    EXPECT_EQ(program.filename(), "zarvin_platform_tests");
}

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentGuard {
public:
    EnvironmentGuard() {
        for (const char* name : kNames) {
            if (const char* value = std::getenv(name)) {
                saved_[name] = value;
            }
        }
    }
    ~EnvironmentGuard() {
        for (const char* name : kNames) {
            if (const auto it = saved_.find(name); it != saved_.end()) {
                ::setenv(name, it->second.c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

    static void Set(const char* name, const char* value) {
        if (value == nullptr) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value, 1);
        }
    }

private:
    static constexpr const char* kNames[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                             "XDG_RUNTIME_DIR"};
    std::map<std::string, std::string> saved_;
};

fs::path FallbackRuntimeDir() {
    return fs::temp_directory_path() / ("zarvin-" + std::to_string(::getuid()));
}

struct XdgCase {
    const char* name;
    const char* dataHome;    // value of XDG_DATA_HOME, nullptr = unset
    const char* configHome;  // value of XDG_CONFIG_HOME
    const char* runtimeDir;  // value of XDG_RUNTIME_DIR
    const char* expectedData;
    const char* expectedConfig;
    const char* expectedRuntime;  // nullptr = the fallback in the temporary folder
};

void PrintTo(const XdgCase& c, std::ostream* out) {
    *out << c.name;
}

class SystemRootsXdg : public ::testing::TestWithParam<XdgCase> {};

TEST_P(SystemRootsXdg, FollowTheBaseDirectoryRules) {
    const XdgCase& c = GetParam();
    const EnvironmentGuard guard;
    EnvironmentGuard::Set("HOME", "/home/tester");
    EnvironmentGuard::Set("XDG_DATA_HOME", c.dataHome);
    EnvironmentGuard::Set("XDG_CONFIG_HOME", c.configHome);
    EnvironmentGuard::Set("XDG_RUNTIME_DIR", c.runtimeDir);

    const AppRoots roots = SystemRoots();

    EXPECT_EQ(roots.programFile, ProgramFilePath());
    EXPECT_EQ(roots.dataHome, fs::path(c.expectedData));
    EXPECT_EQ(roots.configHome, fs::path(c.expectedConfig));
    EXPECT_EQ(roots.runtimeDir,
              c.expectedRuntime != nullptr ? fs::path(c.expectedRuntime) : FallbackRuntimeDir());
}

INSTANTIATE_TEST_SUITE_P(
    Environments, SystemRootsXdg,
    ::testing::Values(XdgCase{"AllSet", "/x/data", "/x/config", "/run/user/4242", "/x/data",
                              "/x/config", "/run/user/4242"},
                      XdgCase{"Unset", nullptr, nullptr, nullptr, "/home/tester/.local/share",
                              "/home/tester/.config", nullptr},
                      XdgCase{"Relative", "x/data", "./config", "run", "/home/tester/.local/share",
                              "/home/tester/.config", nullptr},
                      XdgCase{"Empty", "", "", "", "/home/tester/.local/share",
                              "/home/tester/.config", nullptr},
                      XdgCase{"Mixed", "/x/data", nullptr, "/run/user/7", "/x/data",
                              "/home/tester/.config", "/run/user/7"}),
    [](const ::testing::TestParamInfo<XdgCase>& param) { return std::string(param.param.name); });

TEST(SystemRoots, WithoutHomeUsesThePasswordDatabase) {
    const passwd* entry = ::getpwuid(::getuid());
    if (entry == nullptr || entry->pw_dir == nullptr) {
        GTEST_SKIP() << "this user has no entry in the password database";
    }
    const fs::path home = entry->pw_dir;
    const EnvironmentGuard guard;
    EnvironmentGuard::Set("HOME", nullptr);
    EnvironmentGuard::Set("XDG_DATA_HOME", nullptr);
    EnvironmentGuard::Set("XDG_CONFIG_HOME", nullptr);

    const AppRoots roots = SystemRoots();

    EXPECT_EQ(roots.dataHome, home / ".local/share");
    EXPECT_EQ(roots.configHome, home / ".config");
}

}  // namespace
}  // namespace zarvin
