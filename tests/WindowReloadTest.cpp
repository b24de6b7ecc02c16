#include <gtest/gtest.h>
#include <poll.h>

#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "cli/CliOptions.h"
#include "cli/WindowReload.h"
#include "platform/InstanceChannel.h"
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
        pollfd readable{listener->Fd(), POLLIN, 0};
        if (::poll(&readable, 1, 5000) == 1) {
            if (auto pending = listener->Accept()) {
                received = pending->request;
                InstanceListener::Answer(*pending);
            }
        }
    });
    std::ostringstream err;
    AskWindowToReload(runtime.Path(), err);
    window.join();
    EXPECT_EQ(received, InstanceRequest::Reload);
    EXPECT_EQ(err.str(), "");
}

TEST(WindowReload, NoRunningWindowIsNoError) {
    test::TempFolder runtime;
    std::ostringstream err;
    AskWindowToReload(runtime.Path(), err);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace zarvin::cli
