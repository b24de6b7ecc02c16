#pragma once

// The configurator's shared core over the stand-in keyboard, with every folder a temporary one,
// before anything has connected it. Messages are recorded by text key; questions are answered
// from the test's script.

#include <cstdint>
#include <filesystem>

#include "control/ConfiguratorCore.h"
#include "device/CommandProtocol.h"
#include "sim/SimKeyboard.h"
#include "store/AppContext.h"
#include "support/QuickTiming.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"
#include "support/TemporaryRoots.h"

namespace zarvin::test_support {

struct CoreRig {
    static constexpr uint16_t kEnglish = 0x0409;

    // `programData`, when given, is a folder whose language file and Skins/ the program folder
    // links to. The keyboard starts on `activeProfile`; the system's language is
    // `systemLanguage`.
    explicit CoreRig(int activeProfile = 0, const std::filesystem::path& programData = {},
                     uint16_t systemLanguage = kEnglish)
        : context(TemporaryRoots(folder, programData)),
          core(context, keyboard, messages, questions, kQuickTiming,
               [systemLanguage] { return systemLanguage; }) {
        keyboard.WithFirmware(
            [&](sim::SimFirmware& firmware) { firmware.SelectProfile(activeProfile); });
    }

    int KeyboardProfile() {
        int profile = -1;
        keyboard.WithFirmware(
            [&](sim::SimFirmware& firmware) { profile = firmware.ActiveProfile(); });
        return profile;
    }

    bool KeyboardReceived(uint8_t command) const {
        for (const Packet& packet : keyboard.ReceivedPackets()) {
            if (packet[PacketByte::Command] == command) {
                return true;
            }
        }
        return false;
    }

    test::TempFolder folder;
    sim::SimKeyboard keyboard;
    RecordingMessages messages;
    ScriptedQuestions questions;
    AppContext context;
    ConfiguratorCore core;
};

}  // namespace zarvin::test_support
