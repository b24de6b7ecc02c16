// Two zarvinctl runs on one keyboard at once, each reading the keyboard, changing what it read
// and writing it back: neither change may be lost to the other's write.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/LightingArguments.h"
#include "model/KeyAssignment.h"
#include "sim/SimModel.h"
#include "store/AppContext.h"
#include "support/BroadcastKernel.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlContext.h"

namespace zarvin::cli {
namespace {

using test_support::BroadcastKernel;

// One run of zarvinctl: its own descriptor on the node, its own link and per-user folders.
struct CliRun {
    explicit CliRun(BroadcastKernel& kernel)
        : connection(kernel),
          context(test::ZarvinctlContextIn(folder)) {
        std::string error;
        connected = connection.Connect(error);
    }

    test::TempFolder folder;
    KeyboardConnection connection;
    AppContext context;
    bool connected = false;
    std::ostringstream out;
    std::ostringstream err;
};

struct Case {
    const char* name;
    // The change run `run` (0 or 1) makes the `step`th time.
    std::function<int(CliRun& run, int which, int step)> change;
    // What a later run sees of every change.
    std::function<void(CliRun& run)> check;
};

constexpr int kSteps = 4;
// Keys of the 126-key keyboard: A to D for the first run, E to H for the second.
constexpr std::array<KeyCode, 2 * kSteps> kKeys = {0x01E, 0x030, 0x02E, 0x020,
                                                   0x012, 0x021, 0x022, 0x023};

TEST(SharedKeyboardCommands, ChangesOfTwoRunsAtOnceAreAllKept) {
    const RemapTarget esc{.type = AssignmentType::Key, .value = 0x001, .macroName = {}};
    const Case cases[] = {
        {"remaps",
         [&](CliRun& run, int which, int step) {
             return RunRemap(run.connection, run.context, {},
                             kKeys[static_cast<size_t>(which * kSteps + step)], esc, run.out,
                             run.err);
         },
         [](CliRun& run) {
             ASSERT_EQ(RunKeys(run.connection, run.context, {}, false, run.out, run.err), kExitOk)
                 << run.err.str();
             for (const char* key : {"A", "B", "C", "D", "E", "F", "G", "H"}) {
                 EXPECT_NE(run.out.str().find(std::string("  ") + key + " → Key (Esc)"),
                           std::string::npos)
                     << key << " is lost:\n"
                     << run.out.str();
             }
         }},
        {"lighting fields",
         [](CliRun& run, int which, int step) {
             LightingSettings settings;
             (which == 0 ? settings.brightness : settings.speed) = step % 2 == 0 ? 1 : 2;
             return RunLightingSet(run.connection, run.context, {}, settings, run.out, run.err);
         },
         [](CliRun& run) {
             ASSERT_EQ(RunLighting(run.connection, run.context, {}, run.out, run.err), kExitOk)
                 << run.err.str();
             EXPECT_NE(run.out.str().find("brightness   2\n"), std::string::npos) << run.out.str();
             EXPECT_NE(run.out.str().find("speed        2\n"), std::string::npos) << run.out.str();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BroadcastKernel kernel(sim::SimModel::Keyboard126);
        CliRun first(kernel);
        CliRun second(kernel);
        ASSERT_TRUE(first.connected && second.connected);
        std::array<int, 2> failed{};
        std::vector<std::thread> runs;
        for (int which = 0; which < 2; ++which) {
            runs.emplace_back([&, which] {
                CliRun& run = which == 0 ? first : second;
                for (int step = 0; step < kSteps; ++step) {
                    if (c.change(run, which, step) != kExitOk) {
                        ++failed[static_cast<size_t>(which)];
                    }
                }
            });
        }
        for (std::thread& run : runs) {
            run.join();
        }
        EXPECT_EQ(failed, (std::array<int, 2>{0, 0})) << first.err.str() << second.err.str();
        CliRun later(kernel);
        ASSERT_TRUE(later.connected);
        c.check(later);
    }
}

}  // namespace
}  // namespace zarvin::cli
