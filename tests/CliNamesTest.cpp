// Names instead of numbers on the command line: effect names, the target list, every key of a
// profile.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/EffectNames.h"
#include "cli/KeyboardConnection.h"
#include "cli/NameLists.h"
#include "model/KeyNames.h"
#include "sim/SimFirmware.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlContext.h"

namespace zarvin::cli {
namespace {

const std::vector<NamedEffect> kOffered = {
    {1, "Wave"}, {4, "Colour cycle"}, {11, "Colour drift"}, {20, "Custom key colours"}};

TEST(EffectNames, MatchInAnyCaseWithBlanksAndDashesIgnored) {
    struct Case {
        const char* typed;
        int code;
    };
    for (const Case& c : {Case{"wave", 1}, Case{"Colour-Cycle", 4}, Case{"COLOURCYCLE", 4},
                          Case{"custom_key colours", 20}}) {
        std::string error;
        EXPECT_EQ(EffectCodeOfName(c.typed, kOffered, error), c.code) << c.typed << error;
    }
}

TEST(EffectNames, ATypoNamesTheClosestAndNoMatchNamesAll) {
    struct Case {
        const char* typed;
        const char* error;
    };
    const Case cases[] = {
        {"wav", "this keyboard offers no effect called 'wav'; did you mean Wave?"},
        {"colr", "this keyboard offers no effect called 'colr'; did you mean Colour cycle or "
                 "Colour drift?"},
        {"xyzzy", "this keyboard offers no effect called 'xyzzy'; it offers Wave, Colour cycle, "
                  "Colour drift or Custom key colours"},
        {"", "this keyboard offers no effect called ''; it offers Wave"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(EffectCodeOfName(c.typed, kOffered, error)) << c.typed;
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error);
    }
}

TEST(EffectNames, TheCommandLineTakesANameOrACode) {
    const ParsedCommandLine named = ParseCommandLine({"lighting", "set", "effect=Colour-cycle"});
    ASSERT_EQ(named.error, "");
    EXPECT_EQ(named.options.lighting.effectName, "Colour-cycle");
    EXPECT_FALSE(named.options.lighting.effect);
    const ParsedCommandLine coded = ParseCommandLine({"lighting", "set", "effect=7"});
    ASSERT_EQ(coded.error, "");
    EXPECT_EQ(coded.options.lighting.effect, 7);
    EXPECT_FALSE(coded.options.lighting.effectName);
}

struct StandIn {
    StandIn() : connection(keyboard), context(test::ZarvinctlContextIn(folder)) {
        std::string error;
        connected = connection.Connect(error);
    }
    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    KeyboardConnection connection;
    AppContext context;
    bool connected = false;
};

TEST(EffectNames, LightingSetWritesTheNamedEffectOrRefusesAndWritesNothing) {
    StandIn rig;
    ASSERT_TRUE(rig.connected);
    LightingSettings settings;
    settings.effectName = "ripple on key press";
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunLightingSet(rig.connection, rig.context, std::nullopt, settings, out, err),
              kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "profile 1 (active)\n  effect       8 (Ripple on key press)\n");
    rig.keyboard.WithFirmware(
        [](sim::SimFirmware& firmware) { EXPECT_EQ(firmware.Memory().lighting[0], 8); });

    settings.effectName = "Ripple on key pres";
    rig.keyboard.ClearLog();
    EXPECT_EQ(RunLightingSet(rig.connection, rig.context, std::nullopt, settings, out, err),
              kExitUsage);
    EXPECT_NE(err.str().find("did you mean Ripple on key press?"), std::string::npos) << err.str();
    for (const Packet& packet : rig.keyboard.ReceivedPackets()) {
        EXPECT_NE(packet[PacketByte::Command], Command::WriteLighting);
    }
}

// Every listed name is taken back as the same key, and every listed target as a target.
TEST(NameLists, EveryListedNameIsUnderstood) {
    test::TempFolder folder;
    const AppContext context = test::ZarvinctlContextIn(folder);
    const TextLookup texts = [](std::string_view key) { return std::string(key); };
    const std::vector<ListedKey> keys = ListedKeys(texts);
    ASSERT_GT(keys.size(), 100u);
    for (const ListedKey& key : keys) {
        EXPECT_EQ(KeyCodeOfName(key.name), key.code) << key.name;
    }
    for (const ListedKey& key : keys) {
        for (const std::string& alias : key.aliases) {
            EXPECT_EQ(KeyCodeOfName(alias), key.code) << alias;
        }
    }
    const auto mouseLeft = std::find_if(keys.begin(), keys.end(),
                                        [](const ListedKey& key) { return key.code == 0x171; });
    ASSERT_NE(mouseLeft, keys.end());
    EXPECT_NE(std::find(mouseLeft->aliases.begin(), mouseLeft->aliases.end(), "MouseLeft"),
              mouseLeft->aliases.end());
    const std::vector<ListedTarget> targets = ListedTargets(texts, {"My Copy"});
    for (const ListedTarget& target : targets) {
        std::string error;
        EXPECT_TRUE(ParseRemapTarget(target.name, error)) << target.name << ": " << error;
    }
    const auto typeOf = [&](const std::string& name) {
        const auto found = std::find_if(targets.begin(), targets.end(),
                                        [&](const ListedTarget& t) { return t.name == name; });
        return found == targets.end() ? std::string("missing") : found->type;
    };
    EXPECT_EQ(typeOf("LeftButton"), "mouse");
    EXPECT_EQ(typeOf("Mute"), "media");
    EXPECT_EQ(typeOf("Ctrl"), "key");
    EXPECT_EQ(typeOf("function:11"), "function");
    EXPECT_EQ(typeOf("disabled"), "disabled");
    EXPECT_EQ(typeOf("macro:My Copy"), "macro");
    EXPECT_EQ(typeOf("Power"), "missing");
}

TEST(TargetsCommand, ListsNamesOfOneKindOrAllWithWhatTheyDo) {
    test::TempFolder folder;
    const AppContext context = test::ZarvinctlContextIn(folder);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunTargets(context, "effects", out, err), kExitOk);
    EXPECT_EQ(out.str().substr(0, 25), "Wave\nStream\nSpiral\nColour");
    EXPECT_NE(out.str().find("\nCustomkeycolours\n"), std::string::npos) << out.str();

    out.str("");
    ASSERT_EQ(RunTargets(context, "macros", out, err), kExitOk);
    EXPECT_EQ(out.str(), "");  // no cache file yet

    out.str("");
    ASSERT_EQ(RunTargets(context, "", out, err, OutputForm::Json), kExitOk);
    const nlohmann::json all = nlohmann::json::parse(out.str());
    EXPECT_EQ(all["keys"][0], nlohmann::json::parse(R"({"name": "Esc", "label": "Esc", "code": 1,
                                                         "aliases": ["Escape"]})"));
    EXPECT_GT(all["targets"].size(), all["keys"].size() / 2);

    EXPECT_EQ(RunTargets(context, "mice", out, err), kExitUsage);
}

TEST(KeysCommand, AllListsEveryKeyWithItsFunction) {
    StandIn rig;
    ASSERT_TRUE(rig.connected);
    std::ostringstream out;
    std::ostringstream err;
    const RemapTarget mute{.type = AssignmentType::Media, .value = 7, .macroName = {}};
    ASSERT_EQ(RunRemap(rig.connection, rig.context, std::nullopt, 0x03A, mute, out, err), kExitOk)
        << err.str();
    out.str("");
    ASSERT_EQ(RunKeys(rig.connection, rig.context, std::nullopt, true, out, err), kExitOk);
    const std::string text = out.str();
    EXPECT_NE(text.find("\n  Esc (own function)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  Caps Lock \u2192 "), std::string::npos) << text;
    EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 100);

    out.str("");
    ASSERT_EQ(RunKeys(rig.connection, rig.context, std::nullopt, true, out, err, OutputForm::Json),
              kExitOk);
    const nlohmann::json listing = nlohmann::json::parse(out.str());
    EXPECT_GT(listing["keys"].size(), 100u);
    EXPECT_EQ(listing["keys"][0]["type"], "default");
}

}  // namespace
}  // namespace zarvin::cli
