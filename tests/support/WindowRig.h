#pragma once

// The main window over the stand-in keyboard, as the window tests drive it: the program folder
// with the built skin and language file (ZARVIN_PROGRAM_DATA_FOLDER), the keyboard on a chosen
// profile, and the window, which finds the keyboard through its own device threads.

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/AboutBox.h"
#include "app/KeyboardView.h"
#include "app/LightingPanelView.h"
#include "app/MessageBoxes.h"
#include "app/TrayIcon.h"
#include "app/ZarvinDlg.h"
#include "control/ConfiguratorCore.h"
#include "control/FirmwareCheck.h"
#include "control/KeyColours.h"
#include "control/LightingState.h"
#include "control/ProfileKeyMaps.h"
#include "device/CommandProtocol.h"
#include "device/WindowMessages.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "keyboard/KeyboardIds.h"
#include "model/KeyAssignment.h"
#include "model/KeyMapCodec.h"
#include "sim/SimKeyboard.h"
#include "skin/PngButton.h"
#include "skin/SkinColorBtn.h"
#include "store/AppContext.h"
#include "store/ProfileFile.h"
#include "support/CoreRig.h"

namespace zarvin::test_support {

using namespace std::chrono_literals;

inline constexpr DeviceThreadTiming kQuickThreads{.startDelay = 1ms,
                                           .presencePoll = 5ms,
                                           .rescan = 10ms,
                                           .trayNoticeHold = 1ms,
                                           .busyHideDelay = 5ms};
inline constexpr int kKeyA = 1058;
inline constexpr int kRightWindows = 1087;
inline constexpr size_t kSlotA = 0x1E;
inline constexpr int kEvdevB = 48;

// Runs the window's event loop until `condition` holds.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The program folder with the built skin and language file, the stand-in keyboard on profile
// `activeProfile`, and the main window, which finds the keyboard through its own device threads.
struct WindowRig : CoreRig {
    explicit WindowRig(int activeProfile = 0, uint16_t systemLanguage = kEnglish)
        : CoreRig(activeProfile, ZARVIN_PROGRAM_DATA_FOLDER, systemLanguage) {
        window.SetDeviceThreadTiming(kQuickThreads);
    }

    ~WindowRig() { window.ExitApplication(); }

    // Starts the window and waits for the keyboard's connection and the automatic opening.
    void StartConnected() {
        window.Initialise();
        // The window shows once to hide itself; the connection's icon comes before the opening.
        ASSERT_TRUE(WaitUntil([&] {
            return window.CurrentTrayIcon() == TrayIcon::Connected && window.isVisible() &&
                   window.ListeningToKeyboard();
        }));
    }

    KeyAssignment Working(int profile, size_t slot) {
        const std::lock_guard lock(core.Working().Lock());
        return core.Working().Assignment(KeyRecordNumber(static_cast<size_t>(profile), slot));
    }

    // The record the keyboard's own key map gives `slot` of `profile`.
    KeyAssignment OnKeyboard(int profile, size_t slot) {
        std::vector<uint8_t> maps;
        keyboard.WithFirmware(
            [&](sim::SimFirmware& firmware) { maps = firmware.Memory().keyMaps; });
        const size_t length = core.Device().Model().keyMapLength;
        ProfileImage image{};
        DecodeKeyMap(
            std::span<const uint8_t>(maps).subspan(static_cast<size_t>(profile) * length, length),
            core.Device(), KeyTableOf(image, 0));
        return LoadKeyAssignment(RecordBytes(image, KeyRecordNumber(0, slot)));
    }

    // The lighting record the keyboard holds for `profile`.
    LightingRecord LightingOnKeyboard(int profile) {
        LightingRecord record{};
        keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            const auto& area = firmware.Memory().lighting;
            std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(kLightingRecordSize) * profile,
                        kLightingRecordSize, record.begin());
        });
        return record;
    }

    // Clicks a report-rate button of the lighting panel (its byte is the same in every effect).
    void ClickReportRate(int controlId) {
        auto* button = qobject_cast<CPngButton*>(window.Panel().Control(controlId));
        ASSERT_NE(button, nullptr);
        button->click();
    }

    // The window shows `profile` everywhere, and a lighting change and an applied key edit
    // reach that profile on the keyboard and no other.
    void ExpectEditsReach(int profile) {
        for (int other = 0; other < 3; ++other) {
            EXPECT_EQ(ProfileButtonSelected(other), other == profile) << other;
        }
        EXPECT_EQ(window.Panel().Lighting().CurrentProfile(), profile);
        ClickReportRate(LightingControl::ReportRate4);
        for (int other = 0; other < 3; ++other) {
            EXPECT_EQ(LightingOnKeyboard(other)[LightingField::ReportRate] == 3, other == profile)
                << other;
        }
        RemapAToB();
        window.RunCommand(MainControl::Apply);
        for (int other = 0; other < 3; ++other) {
            EXPECT_EQ(OnKeyboard(other, kSlotA).type == static_cast<uint16_t>(AssignmentType::Key),
                      other == profile)
                << other;
        }
    }

    bool ApplyEnabled() const { return window.Button(MainControl::Apply)->isEnabled(); }

    // Clicks a picture of the lighting panel (switch, chip, option colour).
    void ClickPanel(int controlId) {
        QWidget* control = window.Panel().Control(controlId);
        ASSERT_NE(control, nullptr) << controlId;
        QTest::mouseClick(control, Qt::LeftButton);
    }

    // The lighting switch on, and `effect` chosen in the combo, as the user does it.
    void ShowLightingWith(int effect) {
        if (!window.Panel().Lighting().LightingPanelOn()) {
            ClickPanel(LightingControl::LightingSwitch);
        }
        ASSERT_TRUE(window.Panel().Lighting().LightingPanelOn());
        auto* combo = qobject_cast<QComboBox*>(window.Panel().EffectCombo());
        ASSERT_NE(combo, nullptr);
        const int position = window.Panel().Lighting().PositionOfEffect(effect);
        ASSERT_GE(position, 0);
        combo->setCurrentIndex(position);
        ASSERT_EQ(window.Panel().Lighting().Effect(), effect);
    }

    QColor ShownColour(int buttonId) {
        auto* button = qobject_cast<CSkinColorBtn*>(window.Panel().Control(buttonId));
        EXPECT_NE(button, nullptr) << buttonId;
        return button != nullptr ? button->ShownColour() : QColor();
    }

    std::vector<std::string> RgbBoxes() {
        std::vector<std::string> texts;
        for (int id :
             {LightingControl::RedEdit, LightingControl::GreenEdit, LightingControl::BlueEdit}) {
            auto* edit = qobject_cast<QLineEdit*>(window.Panel().Control(id));
            EXPECT_NE(edit, nullptr);
            texts.push_back(edit != nullptr ? edit->text().toStdString() : std::string());
        }
        return texts;
    }

    std::string Text(std::string_view key) { return core.Text(key); }
    std::string Status() { return window.StatusText().toStdString(); }

    bool ProfileButtonSelected(int profile) const {
        return window.Button(MainControl::Profile1 + profile)->IsSelected();
    }

    // Edits key A through the key editor as the user does: click, type B, OK.
    void RemapAToB() {
        QTest::mouseClick(window.Keys().Button(kKeyA), Qt::LeftButton);
        ASSERT_TRUE(window.KeyEditor().IsOpen());
        QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier,
                        static_cast<quint32>(kEvdevB + 8), 0, 0);
        QApplication::sendEvent(&window.KeyEditor(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier,
                          static_cast<quint32>(kEvdevB + 8), 0, 0);
        QApplication::sendEvent(&window.KeyEditor(), &release);
        window.KeyEditor().Apply();
        window.KeyEditor().CloseIfOpen();
    }

    CZarvinDlg window{core, keyboard};
};

}  // namespace zarvin::test_support
