// zarvinctl --json: every printing command's output parsed by a JSON parser and checked against
// the stand-in keyboard's memory.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <mutex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/KeyboardConnection.h"
#include "cli/LightingArguments.h"
#include "model/MacroRecord.h"
#include "sim/SimFirmware.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "store/ProfileStore.h"
#include "support/TempFolder.h"
#include "support/ZarvinctlContext.h"

namespace zarvin::cli {
namespace {

using nlohmann::json;

// The stand-in keyboard on its second profile, holding a macro "Copy" played by Caps Lock of the
// first profile and F1 disabled on the third; lighting of the second profile: Static at
// brightness 3.
struct JsonRig {
    JsonRig()
        : connection(keyboard),
          context(test::ZarvinctlContextIn(folder)) {
        std::string error;
        connected = connection.Connect(error);
        std::recursive_mutex lock;
        WorkingStore store(lock);
        MacroRecord copy;
        copy.SetName(u"Copy");
        copy.SetId(1);
        copy.SetCycles(2);
        copy.SetActionCount(2);
        copy.SetAction(0, {.delay = 50, .key = 0x01D, .state = MacroAction::kPress});
        copy.SetAction(1, {.delay = 0, .key = 0x01D, .state = MacroAction::kRelease});
        store.SetMacros({copy});
        store.SetAssignment(KeyRecordNumber(0, 0x03A), {.type = 4, .gId = 0, .value = 1});
        store.SetAssignment(KeyRecordNumber(2, 0x03B), {.type = 1, .gId = 0, .value = 0});
        store.SaveProfileFile(folder / "made.fwc");
        std::ostringstream out;
        std::ostringstream err;
        restored = RunRestore(connection, context, folder / "made.fwc", out, err) == kExitOk;
        keyboard.ChangeProfileOnKeyboard(1);
        keyboard.WithFirmware([](sim::SimFirmware& firmware) {
            firmware.Memory().lighting[sim::kLightingRecordSize] = 6;
            firmware.Memory().lighting[sim::kLightingRecordSize + 1] = 3;
        });
    }

    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    KeyboardConnection connection;
    AppContext context;
    bool connected = false;
    bool restored = false;
};

struct Case {
    const char* command;
    std::function<int(JsonRig&, std::ostream&, std::ostream&)> run;
    std::function<void(const json&, JsonRig&)> check;
};

TEST(JsonOutput, EveryPrintingCommandGivesOneObjectOnOneLine) {
    JsonRig rig;
    ASSERT_TRUE(rig.connected && rig.restored);
    const OutputForm form = OutputForm::Json;
    const Case cases[] = {
        {"list",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunList(r.keyboard, out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             ASSERT_EQ(object["interfaces"].size(), 2u);
             EXPECT_EQ(object["interfaces"][1]["role"], "command");
             EXPECT_EQ(object["interfaces"][1]["usagePage"], 0xFF1C);
             EXPECT_EQ(object["interfaces"][0]["vendor"], "0c45");
         }},
        {"info",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunInfo(r.connection, r.context, "(stand-in)", out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             EXPECT_EQ(object["keys"], 126);
             EXPECT_EQ(object["activeProfile"]["profile"], 2);
             EXPECT_EQ(object["activeProfile"]["index"], 1);
             EXPECT_EQ(object["macroCapacity"], 12800);
             EXPECT_EQ(object["effects"].size(), 19u);
             EXPECT_EQ(object["effects"][18]["code"], 20);
             EXPECT_EQ(object["effects"][18]["name"], "Custom key colours");
         }},
        {"profile",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunProfile(r.connection, std::nullopt, out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             EXPECT_EQ(object, json::parse(R"({"profile": 2, "index": 1})"));
         }},
        {"keys --profile 1",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunKeys(r.connection, r.context, 0, false, out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             EXPECT_EQ(object["profile"], 1);
             EXPECT_EQ(object["active"], false);
             ASSERT_EQ(object["keys"].size(), 1u);
             EXPECT_EQ(object["keys"][0]["key"], json::parse(R"({"name": "Caps Lock", "code": 58})"));
             EXPECT_EQ(object["keys"][0]["type"], "macro");
             EXPECT_EQ(object["keys"][0]["macro"], json::parse(R"({"id": 1, "name": "Copy"})"));
             ASSERT_EQ(object["macros"].size(), 1u);
             EXPECT_EQ(object["macros"][0]["cycles"], 2);
             EXPECT_EQ(object["macros"][0]["actions"][0],
                       json::parse(R"({"key": {"name": "Left Ctrl", "code": 29},
                                       "state": "down", "delay": 50})"));
         }},
        {"show",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunShow(r.context, r.folder / "made.fwc", out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             ASSERT_EQ(object["profiles"].size(), 3u);
             EXPECT_EQ(object["profiles"][2]["profile"], 3);
             EXPECT_EQ(object["profiles"][2]["keys"][0]["type"], "disabled");
             EXPECT_EQ(object["profiles"][2]["keys"][0]["key"]["name"], "F1");
             EXPECT_EQ(object["macros"][0]["name"], "Copy");
         }},
        {"lighting",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunLighting(r.connection, r.context, std::nullopt, out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             EXPECT_EQ(object["profile"], 2);
             EXPECT_EQ(object["active"], true);
             EXPECT_EQ(object["effect"], json::parse(R"({"code": 6, "name": "Static"})"));
             EXPECT_EQ(object["brightness"], 3);
         }},
        {"lighting set brightness=1",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             LightingSettings settings;
             settings.brightness = 1;
             return RunLightingSet(r.connection, r.context, std::nullopt, settings, out, err,
                                   form);
         },
         [](const nlohmann::json& object, JsonRig& r) {
             EXPECT_EQ(object["brightness"], 1);
             r.keyboard.WithFirmware([](sim::SimFirmware& firmware) {
                 EXPECT_EQ(firmware.Memory().lighting[sim::kLightingRecordSize + 1], 1);
             });
         }},
        {"remap F2 Mute",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             const RemapTarget mute{.type = AssignmentType::Media, .value = 7, .macroName = {}};
             return RunRemap(r.connection, r.context, std::nullopt, 0x03C, mute, out, err, form);
         },
         [](const nlohmann::json& object, JsonRig&) {
             EXPECT_EQ(object["profile"], 2);
             EXPECT_EQ(object["key"]["name"], "F2");
             EXPECT_EQ(object["type"], "media");
             EXPECT_EQ(object["media"]["name"], "Mute");
         }},
        {"backup",
         [&](JsonRig& r, std::ostream& out, std::ostream& err) {
             return RunBackup(r.connection, r.context, r.folder / "back.fwc", out, err, form);
         },
         [](const nlohmann::json& object, JsonRig& r) {
             EXPECT_EQ(object["file"], (r.folder / "back.fwc").string());
         }},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(c.run(rig, out, err), kExitOk) << c.command << ": " << err.str();
        const std::string text = out.str();
        ASSERT_FALSE(text.empty()) << c.command;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << c.command << ": " << text;
        ASSERT_TRUE(json::accept(text)) << c.command << ": " << text;
        const json object = json::parse(text);
        ASSERT_TRUE(object.is_object()) << c.command;
        c.check(object, rig);
    }
}

TEST(JsonOutput, DescribeGivesTheFieldsOfEachCollection) {
    test::TempFolder folder;
    // A boot keyboard: eight modifier bits and six key array bytes.
    const auto file = folder.Write("boot.txt",
                                   "05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 "
                                   "95 06 75 08 15 00 25 65 05 07 19 00 29 65 81 00 C0");
    sim::SimKeyboard keyboard;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunDescribe(keyboard, file.string(), out, err, OutputForm::Json), kExitOk)
        << err.str();
    const json object = json::parse(out.str());
    ASSERT_EQ(object["collections"].size(), 1u);
    const json& collection = object["collections"][0];
    EXPECT_EQ(collection["usagePage"], 1);
    EXPECT_EQ(collection["usage"], 6);
    ASSERT_EQ(collection["fields"].size(), 2u);
    EXPECT_EQ(collection["fields"][0],
              json::parse(R"({"kind": "button", "usagePage": 7, "usageMin": 224, "usageMax": 231,
                              "report": 0, "bit": 0, "size": 1, "count": 8, "logicalMin": 0,
                              "logicalMax": 1, "array": false})"));
    EXPECT_EQ(collection["fields"][1]["array"], true);
    EXPECT_EQ(collection["fields"][1]["bit"], 8);
}

}  // namespace
}  // namespace zarvin::cli
