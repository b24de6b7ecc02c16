#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include <cstdlib>

#include "cli/CliOptions.h"
#include "cli/WindowReload.h"
#include "platform/InstanceChannel.h"
#include "support/WaitForRequest.h"
#include "sim/SimFirmware.h"
#include "sim/SimImageFile.h"
#include "support/TempFolder.h"

namespace zarvin::cli {
namespace {

TEST(WindowReload, OnlyCommandsThatChangeTheKeyboardAskForIt) {
    struct Case {
        std::vector<std::string> args;
        bool changes;
    };
    const Case cases[] = {
        {{"profile", "1"}, true},
        {{"restore", "a.fwc"}, true},
        {{"remap", "CapsLock", "LeftCtrl"}, true},
        {{"reset", "CapsLock"}, true},
        {{"lighting", "set", "brightness=3"}, true},
        {{"usermode", "2"}, true},
        {{"profile"}, false},
        {{"lighting"}, false},
        {{"keys"}, false},
        {{"backup", "a.fwc"}, false},
        {{"info"}, false},
        {{"sim-reset"}, true},  // a window on the stand-in takes in the reset memory
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        ASSERT_EQ(parsed.error, "") << c.args.front();
        EXPECT_EQ(ChangesKeyboard(parsed.options), c.changes) << c.args.front();
    }
}

TEST(WindowReload, TheRunningWindowIsAskedToReload) {
    test::TempFolder runtime;
    std::string error;
    std::optional<InstanceListener> listener =
        InstanceListener::Claim(InstanceSocketPath(runtime.Path()), error);
    ASSERT_TRUE(listener) << error;
    std::optional<InstanceRequest> received;
    std::thread window([&] {
        if (auto pending = test::WaitForRequest(*listener)) {
            received = pending->request;
            InstanceListener::Answer(*pending);
        }
    });
    std::ostringstream err;
    AskWindowToReload(runtime.Path(), err);
    window.join();
    EXPECT_EQ(received, InstanceRequest::Reload);
    EXPECT_EQ(err.str(), "");
}

// A window on the stand-in keeps its memory unless it reloads from a file: sim-reset must leave
// the factory memory in the file and ask the window to reload, or the window's next change would
// write the old memory back.
TEST(WindowReload, SimResetLeavesTheFactoryMemoryAndAsksTheWindowToReload) {
    test::TempFolder home;
    const std::filesystem::path runtime = home / "runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const std::filesystem::path image =
        sim::ImageFilePath(home / "data" / "VX77HUE_8246", sim::SimModel::Keyboard126);
    std::filesystem::create_directories(image.parent_path());
    sim::SimMemory changed = sim::FactoryMemory(sim::SimModel::Keyboard126);
    changed.keyColours[0] ^= 0xFF;
    std::string error;
    ASSERT_TRUE(sim::WriteImageFile(image, sim::SimModel::Keyboard126, changed, error)) << error;

    std::optional<InstanceListener> listener =
        InstanceListener::Claim(InstanceSocketPath(runtime), error);
    ASSERT_TRUE(listener) << error;
    std::optional<InstanceRequest> received;
    std::thread window([&] {
        if (auto pending = test::WaitForRequest(*listener)) {
            received = pending->request;
            InstanceListener::Answer(*pending);
        }
    });
    const std::string command = "env -u XDG_CONFIG_HOME HOME='" + home.Path().string() +
                                "' XDG_DATA_HOME='" + (home / "data").string() +
                                "' XDG_RUNTIME_DIR='" + runtime.string() + "' '" +
                                ZARVINCTL_PROGRAM + "' --simulate=126 sim-reset >/dev/null";
    const int status = std::system(command.c_str());
    window.join();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(received, InstanceRequest::Reload);
    sim::SimMemory kept;
    ASSERT_TRUE(sim::ReadImageFile(image, sim::SimModel::Keyboard126, kept, error)) << error;
    EXPECT_TRUE(kept == sim::FactoryMemory(sim::SimModel::Keyboard126));
}

TEST(WindowReload, NoRunningWindowIsNoError) {
    test::TempFolder runtime;
    std::ostringstream err;
    AskWindowToReload(runtime.Path(), err);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace zarvin::cli
