#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
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
#include "model/KeyAssignment.h"
#include "model/KeyMapCodec.h"
#include "sim/SimKeyboard.h"
#include "skin/PngButton.h"
#include "skin/SkinColorBtn.h"
#include "store/AppContext.h"
#include "store/LightingSwitchFile.h"
#include "store/ProfileFile.h"
#include "support/CoreRig.h"
#include "support/QtTestApplication.h"
#include "support/WindowRig.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using test_support::WaitUntil;
using test_support::WindowRig;
constexpr int kKeyA = test_support::kKeyA;
constexpr int kRightWindows = test_support::kRightWindows;
constexpr size_t kSlotA = test_support::kSlotA;

uint16_t Type(AssignmentType type) {
    return static_cast<uint16_t>(type);
}

TEST(MainWindowTest, ConnectionLoadsTheKeyboardIntoTheViewAndOpensTheWindow) {
    WindowRig rig(1);
    rig.StartConnected();

    EXPECT_TRUE(rig.ProfileButtonSelected(1));
    EXPECT_FALSE(rig.ProfileButtonSelected(0));
    EXPECT_EQ(rig.window.Panel().Lighting().CurrentProfile(), 1);
    EXPECT_FALSE(rig.ApplyEnabled());
    EXPECT_TRUE(rig.KeyboardReceived(Command::ReadKeyMap));
    EXPECT_TRUE(rig.KeyboardReceived(Command::ReadLighting));
    // The profile cache file mirrors the keyboard.
    EXPECT_TRUE(fs::exists(rig.context.userDataFolder / "$Profile0"));
    EXPECT_TRUE(rig.messages.Shown().empty());
}

TEST(MainWindowTest, AnEditedKeyIsWrittenByApplyAndReloadedOnTheNextConnection) {
    WindowRig rig;
    rig.StartConnected();
    ASSERT_FALSE(rig.window.HasPendingChanges());

    rig.RemapAToB();
    const KeyAssignment edited = rig.Working(0, kSlotA);
    ASSERT_EQ(edited.type, Type(AssignmentType::Key));
    ASSERT_EQ(edited.value, 0x030);
    EXPECT_TRUE(rig.window.HasPendingChanges());
    EXPECT_TRUE(rig.ApplyEnabled());
    EXPECT_TRUE(rig.window.Keys().Button(kKeyA)->IsSelected());
    // Nothing reaches the keyboard before Apply.
    EXPECT_EQ(rig.OnKeyboard(0, kSlotA).type, Type(AssignmentType::Default));

    rig.window.RunCommand(MainControl::Apply);
    EXPECT_EQ(rig.OnKeyboard(0, kSlotA), edited);
    EXPECT_FALSE(rig.window.HasPendingChanges());
    EXPECT_FALSE(rig.ApplyEnabled());

    // The working store is thrown away and comes back from the keyboard on reconnection.
    {
        const std::lock_guard lock(rig.core.Working().Lock());
        rig.core.Working().EmptyStore();
    }
    rig.keyboard.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return rig.window.CurrentTrayIcon() == TrayIcon::Disconnected; }));
    rig.keyboard.Plug();
    ASSERT_TRUE(WaitUntil([&] { return rig.window.CurrentTrayIcon() == TrayIcon::Connected; }));
    EXPECT_EQ(rig.Working(0, kSlotA), edited);
    EXPECT_TRUE(rig.window.Keys().Button(kKeyA)->IsSelected());
}

TEST(MainWindowTest, ApplyWithoutAKeyboardKeepsTheChangesPending) {
    WindowRig rig;
    rig.StartConnected();
    rig.RemapAToB();
    rig.keyboard.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !rig.core.Link().Connected(); }));

    rig.window.RunCommand(MainControl::Apply);
    EXPECT_TRUE(rig.window.HasPendingChanges());
    EXPECT_TRUE(rig.ApplyEnabled());
}

TEST(MainWindowTest, DefaultClearsTheActiveProfilesKeysOnlyWhenConfirmed) {
    WindowRig rig;
    rig.StartConnected();
    rig.RemapAToB();
    rig.window.RunCommand(MainControl::Apply);
    ASSERT_EQ(rig.OnKeyboard(0, kSlotA).type, Type(AssignmentType::Key));

    rig.questions.answer = false;
    rig.window.RunCommand(MainControl::Default);
    EXPECT_EQ(rig.Working(0, kSlotA).type, Type(AssignmentType::Key));

    rig.questions.answer = true;
    rig.window.RunCommand(MainControl::Default);
    EXPECT_EQ(rig.questions.asked,
              (std::vector<std::string>{"MAIN_PROMPT_DEFAULT", "MAIN_PROMPT_DEFAULT"}));
    EXPECT_EQ(rig.Working(0, kSlotA).type, Type(AssignmentType::Default));
    EXPECT_EQ(rig.OnKeyboard(0, kSlotA).type, Type(AssignmentType::Default));
    EXPECT_FALSE(rig.window.Keys().Button(kKeyA)->IsSelected());
    EXPECT_FALSE(rig.window.HasPendingChanges());
}

TEST(MainWindowTest, UnpluggingClosesTheEditorsAndHidesTheWindow) {
    WindowRig rig;
    rig.StartConnected();
    rig.window.ShowAboutBox();
    rig.window.ProfileDialog().Open();
    ASSERT_TRUE(rig.window.ProfileDialog().IsOpen());

    rig.keyboard.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !rig.window.isVisible(); }));
    EXPECT_FALSE(rig.window.ProfileDialog().IsOpen());
    EXPECT_FALSE(rig.window.About()->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return rig.window.CurrentTrayIcon() == TrayIcon::Disconnected; }));

    // Opening now only says that no keyboard is there.
    rig.window.RunCommand(TrayCommand::Open);
    EXPECT_FALSE(rig.window.isVisible());
    EXPECT_EQ(rig.messages.Shown(), std::vector<std::string>{"MAIN_NO_DEVICE_PROMPT"});
}

TEST(MainWindowTest, TheKeyboardsProfileKeySelectsItsProfile) {
    WindowRig rig;
    rig.StartConnected();
    ASSERT_TRUE(rig.ProfileButtonSelected(0));

    rig.keyboard.ChangeProfileOnKeyboard(2);
    ASSERT_TRUE(WaitUntil([&] { return rig.ProfileButtonSelected(2); }));
    EXPECT_FALSE(rig.ProfileButtonSelected(0));
    EXPECT_EQ(rig.window.Panel().Lighting().CurrentProfile(), 2);
    EXPECT_EQ(rig.core.ActiveProfile(), 2);
}

TEST(MainWindowTest, AProfileButtonSwitchesTheKeyboard) {
    WindowRig rig;
    rig.StartConnected();

    rig.window.RunCommand(MainControl::Profile3);
    EXPECT_TRUE(rig.ProfileButtonSelected(2));
    EXPECT_FALSE(rig.ProfileButtonSelected(0));
    EXPECT_EQ(rig.core.ActiveProfile(), 2);
    int onKeyboard = -1;
    rig.keyboard.WithFirmware(
        [&](sim::SimFirmware& firmware) { onKeyboard = firmware.ActiveProfile(); });
    EXPECT_EQ(onKeyboard, 2);
}

TEST(MainWindowTest, AProfileChosenElsewhereIsShownAfterTheReload) {
    WindowRig rig;
    rig.StartConnected();
    ASSERT_TRUE(rig.ProfileButtonSelected(0));

    // What `zarvinctl profile 3` does: the keyboard switches, then the window is asked to reload.
    rig.keyboard.WithFirmware([](sim::SimFirmware& firmware) { firmware.SelectProfile(2); });
    rig.window.HandleMessage(WindowMessage::Reload);

    rig.ExpectEditsReach(2);
}

// zarvinctl changed the keyboard while the window held an edit not applied yet: the window shows
// the keyboard as it is, and says that the edit is gone.
TEST(MainWindowTest, AReloadOverAnUnappliedEditSaysItWasDropped) {
    WindowRig rig;
    rig.StartConnected();
    rig.window.HandleMessage(WindowMessage::Reload);
    EXPECT_EQ(rig.Status(), "");

    rig.RemapAToB();
    ASSERT_TRUE(rig.window.HasPendingChanges());
    rig.window.HandleMessage(WindowMessage::Reload);
    EXPECT_FALSE(rig.window.HasPendingChanges());
    EXPECT_FALSE(rig.ApplyEnabled());
    EXPECT_EQ(rig.Status(), rig.Text("STATUS_RELOAD_DROPPED_CHANGES"));
}

TEST(MainWindowTest, TheProfileDialogsApplyIsShownInTheWindow) {
    WindowRig rig;
    rig.StartConnected();
    rig.window.ProfileDialog().Open();
    rig.window.ProfileDialog().CheckProfileRow(1);
    auto* apply = rig.window.ProfileDialog().findChild<CPngButton*>("CONTROL2_APPLY");
    ASSERT_NE(apply, nullptr);
    apply->click();
    rig.window.ProfileDialog().CloseIfOpen();
    ASSERT_EQ(rig.KeyboardProfile(), 1);

    rig.ExpectEditsReach(1);
}

TEST(MainWindowTest, ARefusedProfileButtonKeepsTheWindowOnTheKeyboardsProfile) {
    WindowRig rig;
    rig.StartConnected();
    // The key editor is open: the switch is refused.
    rig.window.OnKeyClicked(kKeyA);
    ASSERT_TRUE(rig.window.KeyEditor().IsOpen());
    rig.window.RunCommand(MainControl::Profile2);
    rig.window.KeyEditor().CloseIfOpen();
    EXPECT_EQ(rig.messages.Shown(), std::vector<std::string>{"PROFILE_SEELCT_PROMPT2"});
    ASSERT_EQ(rig.KeyboardProfile(), 0);

    rig.ExpectEditsReach(0);
}

TEST(MainWindowTest, AChipColoursTheButtonsTheBoxesAndThePreview) {
    WindowRig rig;
    rig.StartConnected();
    rig.ShowLightingWith(6);  // rings in the main colour once multicolour is off

    rig.ClickPanel(1212);  // the red chip

    EXPECT_EQ(rig.ShownColour(LightingControl::ColourBButton), QColor(255, 0, 0));
    EXPECT_EQ(rig.ShownColour(LightingControl::ColourAButton), QColor(255, 0, 0));
    EXPECT_EQ(rig.RgbBoxes(), (std::vector<std::string>{"255", "0", "0"}));
    EXPECT_FALSE(rig.window.Panel().Lighting().Multicolour());
    rig.window.Panel().PreviewTick();
    // Every key of the preview, Right Windows too, shows the chip's colour.
    for (int key : {kKeyA, kRightWindows}) {
        CPngButton* button = rig.window.Keys().Button(key);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->IsOutlineOn()) << key;
        EXPECT_EQ(button->OutlineColour(), QColor(255, 0, 0)) << key;
    }
}

bool AnyKeyLit(WindowRig& rig) {
    for (QWidget* widget : rig.window.Keys().KeyWidgets()) {
        auto* key = qobject_cast<CPngButton*>(widget);
        if (key != nullptr && key->IsOutlineOn()) {
            return true;
        }
    }
    return false;
}

// The preview's timer wakes the window only while it draws: the lighting switch on and the
// effect animated, or one frame after a change of a still effect; every path that turns the
// switch on or changes the effect starts it.
TEST(MainWindowTest, ThePreviewTimerRunsExactlyWhileThePreviewMoves) {
    constexpr uint8_t kWave = 13;
    constexpr uint8_t kStatic = 7;  // no preview of its own: one cleared frame
    constexpr uint8_t kRings = 6;   // still rings in the main colour
    struct Case {
        const char* name;
        bool switchFile;  // duva.ini before the connection
        uint8_t effect;   // on the keyboard before the connection
        std::function<void(WindowRig&)> action;
        bool running;
    };
    const auto settle = [](WindowRig& rig) {
        ASSERT_TRUE(WaitUntil([&] { return !rig.window.TimerRunning(WindowTimer::Preview); }));
    };
    const auto click = [](int controlId) {
        return [controlId](WindowRig& rig) { rig.ClickPanel(controlId); };
    };
    const std::vector<Case> cases{
        {"connection, switch off", false, kWave, nullptr, false},
        {"connection, switch on, animated", true, kWave, nullptr, true},
        {"switch turned on", false, kWave, click(LightingControl::LightingSwitch), true},
        {"switch turned off", true, kWave, click(LightingControl::LightingSwitch), false},
        {"still effect after its frame", true, kStatic, settle, false},
        {"still effect, colour changed", true, kRings,
         [&](WindowRig& rig) {
             settle(rig);
             rig.ClickPanel(1212);  // the red chip
         },
         true},
        {"still effect chosen", true, kWave, [](WindowRig& rig) { rig.ShowLightingWith(kRings); },
         true},
        {"animated effect chosen", true, kStatic,
         [&](WindowRig& rig) {
             settle(rig);
             rig.ShowLightingWith(kWave);
         },
         true},
        {"keyboard notice of an animated effect", true, kStatic,
         [&](WindowRig& rig) {
             settle(rig);
             rig.keyboard.ChangeLightingOnKeyboard(kWave);
             ASSERT_TRUE(
                 WaitUntil([&] { return rig.window.Panel().Lighting().Effect() == kWave; }));
         },
         true},
        {"reload with the switch turned on elsewhere", false, kWave,
         [](WindowRig& rig) {
             WriteDengCheck(LightingSwitchFile(rig.context.userDataFolder), true);
             rig.window.HandleMessage(WindowMessage::Reload);
         },
         true},
        {"reload with the switch turned off elsewhere", true, kWave,
         [](WindowRig& rig) {
             WriteDengCheck(LightingSwitchFile(rig.context.userDataFolder), false);
             rig.window.HandleMessage(WindowMessage::Reload);
         },
         false},
        {"profile button", true, kWave,
         [](WindowRig& rig) { rig.window.RunCommand(MainControl::Profile2); }, false},
        {"profile key on the keyboard", true, kWave,
         [](WindowRig& rig) {
             rig.keyboard.ChangeProfileOnKeyboard(2);
             ASSERT_TRUE(WaitUntil([&] { return rig.ProfileButtonSelected(2); }));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowRig rig;
        fs::create_directories(rig.context.userDataFolder);
        ASSERT_TRUE(WriteDengCheck(LightingSwitchFile(rig.context.userDataFolder), c.switchFile));
        rig.keyboard.WithFirmware([&](sim::SimFirmware& firmware) {
            for (int profile = 0; profile < 3; ++profile) {
                firmware.SelectProfile(profile);
                ASSERT_TRUE(firmware.SelectEffect(c.effect));
            }
            firmware.SelectProfile(0);
        });
        rig.StartConnected();
        ASSERT_EQ(rig.window.Panel().Lighting().LightingPanelOn(), c.switchFile);
        if (c.action) {
            c.action(rig);
        }
        EXPECT_EQ(rig.window.TimerRunning(WindowTimer::Preview), c.running);
        // Once frames are drawn, an animated preview keeps its timer and a still one stops it.
        if (c.running && rig.window.Panel().Lighting().PreviewAnimates()) {
            EXPECT_TRUE(WaitUntil([&] { return AnyKeyLit(rig); }));
            EXPECT_TRUE(rig.window.TimerRunning(WindowTimer::Preview));
        } else {
            EXPECT_TRUE(WaitUntil([&] { return !rig.window.TimerRunning(WindowTimer::Preview); }));
            QTest::qWait(120);
            EXPECT_FALSE(rig.window.TimerRunning(WindowTimer::Preview));
        }
    }
}

TEST(MainWindowTest, TheRgbBoxesShowTheColourInEffectAndApplyATypedOne) {
    WindowRig rig;
    rig.StartConnected();
    rig.ShowLightingWith(5);
    auto* colourA = qobject_cast<CSkinColorBtn*>(
        rig.window.Panel().Control(LightingControl::ColourAButton));
    ASSERT_NE(colourA, nullptr);

    emit colourA->ColourChosen(QColor(1, 2, 3));
    EXPECT_EQ(rig.RgbBoxes(), (std::vector<std::string>{"1", "2", "3"}));

    auto* red = qobject_cast<QLineEdit*>(rig.window.Panel().Control(LightingControl::RedEdit));
    ASSERT_NE(red, nullptr);
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("200"));
    QTest::keyClick(red, Qt::Key_Return);
    EXPECT_TRUE(rig.window.isVisible());
    EXPECT_EQ(rig.window.Panel().Lighting().MainColour(), MakeColour(200, 2, 3));
    EXPECT_EQ(rig.ShownColour(LightingControl::ColourAButton), QColor(200, 2, 3));
    const LightingRecord record = rig.LightingOnKeyboard(0);
    EXPECT_EQ(record[LightingField::MainColour], 200);
    EXPECT_EQ(record[LightingField::MainColour + 1], 2);

    // After Default every control shows the record the keyboard got.
    rig.ClickPanel(LightingControl::OptionBlue);
    rig.questions.answer = true;
    rig.window.RunCommand(MainControl::Default);
    EXPECT_EQ(rig.RgbBoxes(), (std::vector<std::string>{"255", "255", "255"}));
    EXPECT_EQ(rig.ShownColour(LightingControl::ColourAButton), QColor(255, 255, 255));
    EXPECT_EQ(rig.window.Panel().Lighting().OptionColour(), 0);
    EXPECT_EQ(rig.window.Panel().Lighting().Record(0), rig.LightingOnKeyboard(0));
    EXPECT_EQ(rig.Status(), rig.Text("STATUS_DEFAULT_WITH_LIGHTING_DONE"));
}

TEST(MainWindowTest, PaintingUsesTheColourPickedLastAndOtherEffectsSayWhyNot) {
    WindowRig rig;
    rig.StartConnected();
    rig.ShowLightingWith(4);
    rig.window.OnKeyClicked(kKeyA);
    EXPECT_EQ(rig.Status(), rig.Text("STATUS_KEY_CLICK_LIGHTING"));
    EXPECT_FALSE(rig.window.KeyEditor().IsOpen());

    rig.ShowLightingWith(kUserModeEffect);
    rig.window.Panel().Colours().SelectTool(kOwnColourTool);
    rig.ClickPanel(1213);  // a chip, the last colour picked
    rig.window.OnKeyClicked(kKeyA);
    EXPECT_EQ(rig.window.Keys().Button(kKeyA)->OutlineColour(), QColor(0, 126, 255));
}

TEST(MainWindowTest, CommandsSayWhatTheyDidAndCancelledDialogsSayNothing) {
    WindowRig rig;
    rig.StartConnected();
    rig.window.RunCommand(MainControl::Apply);
    EXPECT_EQ(rig.Status(), rig.Text("STATUS_NOTHING_TO_APPLY"));
    rig.RemapAToB();
    rig.window.RunCommand(MainControl::Apply);
    EXPECT_EQ(rig.Status(), rig.Text("STATUS_APPLIED"));

    rig.window.SetFileChooser([](CZarvinDlg::FileChoice) { return std::optional<fs::path>(); });
    rig.window.RunCommand(MainControl::Import);
    rig.window.RunCommand(MainControl::Export);
    EXPECT_TRUE(rig.messages.Shown().empty());

    const fs::path backup = rig.folder / "mine.fwc";
    rig.window.SetFileChooser([&](CZarvinDlg::FileChoice) { return std::optional(backup); });
    rig.window.RunCommand(MainControl::Export);
    EXPECT_NE(rig.Status().find("mine.fwc"), std::string::npos) << rig.Status();
    rig.window.RunCommand(MainControl::Import);
    EXPECT_NE(rig.Status().find("mine.fwc"), std::string::npos) << rig.Status();
    EXPECT_TRUE(rig.messages.Shown().empty());

    rig.RemapAToB();
    rig.keyboard.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !rig.core.Link().Connected(); }));
    rig.window.RunCommand(MainControl::Apply);
    EXPECT_EQ(rig.Status(), rig.Text("STATUS_APPLY_FAILED"));
}

TEST(MainWindowTest, TheMenuButtonOffersTheAboutBox) {
    WindowRig rig;
    rig.StartConnected();
    QTimer::singleShot(0, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* about = menu->actions().back();
            menu->setActiveAction(about);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    rig.window.RunCommand(MainControl::Menu);
    ASSERT_NE(rig.window.About(), nullptr);
    EXPECT_TRUE(rig.window.About()->isVisible());
}

TEST(MainWindowTest, AnInvalidBackupIsRefusedWithBothMessagesAndChangesNothing) {
    WindowRig rig;
    rig.StartConnected();
    rig.RemapAToB();
    const fs::path backup = rig.folder / "broken.fwc";
    {
        std::ofstream out(backup, std::ios::binary);
        out << std::string(kProfileImageBytes, '\x5A');
    }
    rig.window.SetFileChooser([&](CZarvinDlg::FileChoice choice) -> std::optional<fs::path> {
        EXPECT_EQ(choice, CZarvinDlg::FileChoice::Open);
        return backup;
    });
    rig.keyboard.ClearLog();

    rig.window.RunCommand(MainControl::Import);
    EXPECT_EQ(rig.messages.Shown(),
              (std::vector<std::string>{"PROFILE_FORMAT_ERROR:" + backup.string(),
                                        "MAIN_PROMPT_INPORT"}));
    EXPECT_EQ(rig.Working(0, kSlotA).type, Type(AssignmentType::Key));
    EXPECT_TRUE(rig.window.HasPendingChanges());
    EXPECT_FALSE(rig.KeyboardReceived(Command::WriteKeyMap));
}

TEST(MainWindowTest, AnExportedBackupImportsBackAndIsWrittenToEveryProfile) {
    WindowRig rig;
    rig.StartConnected();
    rig.RemapAToB();
    const fs::path backup = rig.folder / "mine.fwc";
    rig.window.SetFileChooser([&](CZarvinDlg::FileChoice) { return std::optional(backup); });
    rig.window.RunCommand(MainControl::Export);
    {
        const std::lock_guard lock(rig.core.Working().Lock());
        rig.core.Working().EmptyStore();
    }

    rig.window.RunCommand(MainControl::Import);
    EXPECT_TRUE(rig.messages.Shown().empty());
    EXPECT_EQ(rig.Working(0, kSlotA).type, Type(AssignmentType::Key));
    EXPECT_EQ(rig.OnKeyboard(0, kSlotA).type, Type(AssignmentType::Key));
    EXPECT_FALSE(rig.window.HasPendingChanges());
}

TEST(MainWindowTest, AnExportThatCannotBeWrittenSaysWhere) {
    WindowRig rig;
    rig.StartConnected();
    const fs::path nowhere = rig.folder / "no such folder" / "mine.fwc";
    rig.window.SetFileChooser([&](CZarvinDlg::FileChoice) { return std::optional(nowhere); });
    rig.window.RunCommand(MainControl::Export);
    EXPECT_EQ(rig.messages.Shown(),
              (std::vector<std::string>{"MAIN_PROMPT_EXPORT:" + nowhere.string()}));
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST(MainWindowTest, EnterAndEscapeNeverCloseTheWindow) {
    WindowRig rig;
    rig.StartConnected();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&rig.window, static_cast<Qt::Key>(key));
        EXPECT_TRUE(rig.window.isVisible()) << key;
    }
    rig.window.RunCommand(MainControl::Cancel);
    EXPECT_FALSE(rig.window.isVisible());
    EXPECT_FALSE(rig.window.Exited());
}

TEST(MainWindowTest, OpenShowsTheWindowAndKillExits) {
    WindowRig rig;
    rig.StartConnected();
    rig.window.RunCommand(MainControl::Cancel);
    EXPECT_FALSE(rig.window.Exited());
    EXPECT_FALSE(rig.window.isVisible());

    rig.window.HandleMessage(WindowMessage::Open);
    EXPECT_TRUE(rig.window.isVisible());
    rig.window.HandleMessage(WindowMessage::Kill);
    EXPECT_TRUE(rig.window.Exited());
    EXPECT_FALSE(rig.window.isVisible());
}

TEST(MainWindowTest, TheFirstHiddenStartNeverReachesTheScreen) {
    WindowRig rig;
    const auto onScreen = [&] {
        return rig.window.windowHandle() != nullptr && rig.window.windowHandle()->isVisible();
    };
    rig.window.Initialise();
    EXPECT_FALSE(onScreen());
    // The automatic opening on the connection shows it for real.
    EXPECT_TRUE(WaitUntil(onScreen));
}

// A kill request or a termination signal reaches the window inside the loop of a message box
// that is open (the "no keyboard" box of an open request); the exit path must end the box too.
TEST(MainWindowTest, TheExitPathEndsAMessageBoxThatIsOpen) {
    WindowRig rig;
    rig.StartConnected();
    QTimer kill;
    kill.setSingleShot(true);
    QObject::connect(&kill, &QTimer::timeout, [&] {
        rig.window.HandleMessage(WindowMessage::Kill);
    });
    kill.start(20);
    // Ends a box left open, so that a failure does not wait for ever.
    bool boxLeftOpen = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxLeftOpen = true;
            box->close();
        }
    });
    rescue.start(2000);

    MessageBoxes boxes;
    boxes.ShowMessage("MAIN_NO_DEVICE_PROMPT");
    EXPECT_TRUE(rig.window.Exited());
    EXPECT_FALSE(boxLeftOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(FirmwareCheckTest, OnlyAnOldFirmwareOfThe126KeyModelIsOfferedTheUpdater) {
    constexpr uint16_t kVendor126 = 0x0C45;
    constexpr uint16_t kProduct126 = 0x5004;
    constexpr uint16_t kProduct128 = 0x5000;
    struct Case {
        uint16_t productId;
        uint16_t version;
        bool offered;
    };
    const Case cases[] = {
        {kProduct126, 1, true},  {kProduct126, 263, true},  {kProduct126, 0x0108, false},
        {kProduct126, 0, false}, {kProduct126, 264, false}, {kProduct126, 0x0110, false},
        {kProduct128, 1, false}, {kProduct128, 100, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirmwareUpdateOffered(kVendor126, c.productId, c.version), c.offered)
            << std::hex << c.productId << ' ' << std::dec << c.version;
    }
    EXPECT_FALSE(FirmwareUpdateOffered(0x1234, kProduct126, 100));
}

// The boxes' buttons say the words of the texts' language, not Qt's English ones.
TEST(MessageBoxesTest, TheButtonsSpeakTheLanguageOfTheTexts) {
    const std::map<std::string, std::string, std::less<>> german{{"QUESTION", "Weiter?"},
                                                                 {"MESSAGE_YES", "Ja"},
                                                                 {"MESSAGE_NO", "Nein"},
                                                                 {"PROFILE_OK", "Gut"}};
    MessageBoxes boxes;
    boxes.SetTexts([&](std::string_view key) {
        const auto text = german.find(key);
        return text != german.end() ? text->second : std::string(key);
    });
    // Clicks the open box's button that says `word`, noting the words of all its buttons.
    QStringList words;
    const auto answer = [&](const QString& word) {
        words.clear();
        QTimer::singleShot(0, [&, word] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                words.append(button->text());
                chosen = button->text() == word ? button : chosen;
            }
            words.sort();
            (chosen != nullptr ? chosen : box->buttons().front())->click();
        });
    };
    answer(QStringLiteral("Ja"));
    EXPECT_TRUE(boxes.AskYesNo("QUESTION"));
    EXPECT_EQ(words, QStringList({"Ja", "Nein"}));
    answer(QStringLiteral("Nein"));
    EXPECT_FALSE(boxes.AskYesNo("QUESTION"));
    answer(QStringLiteral("Gut"));
    boxes.ShowMessage("QUESTION");
    EXPECT_EQ(words, QStringList({"Gut"}));
}

TEST(MessageBoxesTest, AFormatTakesItsArgument) {
    EXPECT_EQ(MessageBoxes::FillFormat("The file \"%s\" is damaged.", "/tmp/a.fwc"),
              "The file \"/tmp/a.fwc\" is damaged.");
    EXPECT_EQ(MessageBoxes::FillFormat("At most %d macros.", "100"), "At most 100 macros.");
    EXPECT_EQ(MessageBoxes::FillFormat("No format", "x"), "No format");
}

}  // namespace
}  // namespace zarvin
