#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/OnScreenKeyboard.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"
#include "model/MacroRecord.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "support/ConnectedCoreRig.h"
#include "support/QtTestApplication.h"
#include "support/RecordingHost.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

// The program folder with the built skin and language file, the stand-in keyboard connected as
// the device monitor connects it, and the core every window shares.
struct EditorRig : test_support::ConnectedCoreRig {
    EditorRig() : ConnectedCoreRig(0, ZARVIN_PROGRAM_DATA_FOLDER) {
        profile = core.ActiveProfile();
    }

    size_t Record(size_t slot) const { return KeyRecordNumber(static_cast<size_t>(profile), slot); }

    KeyAssignment Assignment(size_t slot) {
        std::lock_guard lock(core.Working().Lock());
        return core.Working().Assignment(Record(slot));
    }

    void Assign(size_t slot, AssignmentType type, int32_t value) {
        core.Working().SetAssignment(Record(slot),
                                   {.type = static_cast<uint16_t>(type), .value = value});
    }

    void OpenOn(size_t slot, int controlId) {
        editor.Open({.slot = static_cast<int>(slot), .controlId = controlId,
                     .buttonRect = QRect(100, 100, 40, 40)});
    }

    // A press (or release) with the native scan code X11 gives: the evdev code + 8.
    bool Key(int qtKey, int evdevCode, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, static_cast<quint32>(evdevCode + 8), 0, 0);
        return QApplication::sendEvent(&editor, &event);
    }

    template <typename Widget>
    Widget* Find(const char* name) {
        auto* widget = editor.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::string NameOf(KeyCode code) const { return KeyNameOf(code, core.Texts()); }

    test_support::RecordingHost host;
    Zarvin_DlgComposite editor{core, host};
    int profile = -1;
};

constexpr size_t kSlotA = 0x1E;
constexpr int kControlA = 1058;
constexpr size_t kSlotB = 0x30;
constexpr int kControlB = 1059;
constexpr size_t kSlotG9 = 264;
constexpr int kControlG9 = 1143;
constexpr int kEvdevA = 30;
constexpr int kEvdevB = 48;
constexpr int kEvdevLeftMeta = 125;
constexpr int kEvdevVolumeUp = 115;

MacroRecord Macro(uint16_t id, std::u16string_view name, uint8_t cycles) {
    MacroRecord macro;
    macro.SetName(name);
    macro.SetId(id);
    macro.SetCycles(cycles);
    macro.SetActionCount(2);
    macro.SetAction(0, {.delay = 50, .key = 0x01E, .state = MacroAction::kPress});
    macro.SetAction(1, {.delay = 0, .key = 0x01E, .state = MacroAction::kRelease});
    return macro;
}

uint16_t Type(AssignmentType type) { return static_cast<uint16_t>(type); }

TEST(KeyEditorTest, CapturedKeyIsWrittenAndOkCloses) {
    EditorRig rig;
    ASSERT_GE(rig.profile, 0);
    rig.OpenOn(kSlotA, kControlA);
    ASSERT_TRUE(rig.editor.IsOpen());
    EXPECT_TRUE(rig.Find<QLineEdit>("keyField")->isVisible());

    EXPECT_FALSE(rig.editor.Changed());
    EXPECT_TRUE(rig.Key(Qt::Key_B, kEvdevB));
    EXPECT_EQ(rig.Find<QLineEdit>("keyField")->text().toStdString(), rig.NameOf(0x030));
    EXPECT_TRUE(rig.editor.Changed());
    // The release and the unchanged record before Apply.
    EXPECT_TRUE(rig.Key(Qt::Key_B, kEvdevB, QEvent::KeyRelease));
    EXPECT_EQ(rig.Assignment(kSlotA).type, Type(AssignmentType::Default));

    rig.Find<CPngButton>("ok")->click();
    const KeyAssignment record = rig.Assignment(kSlotA);
    EXPECT_EQ(record.type, Type(AssignmentType::Key));
    EXPECT_EQ(record.value, 0x030);
    EXPECT_TRUE(rig.host.pending);
    EXPECT_EQ(rig.host.CallsStartingWith("assignments").size(), 1u);
    EXPECT_FALSE(rig.editor.IsOpen());
    EXPECT_EQ(rig.host.CallsStartingWith("faces"),
              std::vector<std::string>{"faces " + std::to_string(kControlA)});
}

TEST(KeyEditorTest, KeyGivenToItselfBecomesDefault) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Key, 0x030);
    rig.OpenOn(kSlotA, kControlA);
    EXPECT_EQ(rig.Find<QLineEdit>("keyField")->text().toStdString(), rig.NameOf(0x030));

    rig.Key(Qt::Key_A, kEvdevA);
    rig.editor.Apply();
    EXPECT_EQ(rig.Assignment(kSlotA).type, Type(AssignmentType::Default));
    EXPECT_EQ(rig.Assignment(kSlotA).value, 0);
}

TEST(KeyEditorTest, ChoosingTheMouseStopsWaitingForAKey) {
    EditorRig rig;
    rig.OpenOn(kSlotA, kControlA);
    rig.Find<QCheckBox>("mouseChoice")->click();
    ASSERT_TRUE(rig.Find<QCheckBox>("mouseChoice")->isChecked());
    EXPECT_FALSE(rig.Find<QCheckBox>("keyboardChoice")->isChecked());

    // The keys are free to move to the mouse list: none is taken, the Super key neither.
    rig.Key(Qt::Key_B, kEvdevB);
    rig.Key(Qt::Key_Meta, kEvdevLeftMeta);
    EXPECT_TRUE(rig.Find<QLineEdit>("keyField")->text().isEmpty());
}

TEST(KeyEditorTest, MediaKeyPassesOnAndChangesNothing) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Key, 0x030);
    rig.OpenOn(kSlotA, kControlA);
    rig.Key(Qt::Key_VolumeUp, kEvdevVolumeUp);
    EXPECT_EQ(rig.Find<QLineEdit>("keyField")->text().toStdString(), rig.NameOf(0x030));
    rig.editor.Apply();
    EXPECT_EQ(rig.Assignment(kSlotA).value, 0x030);
}

TEST(KeyEditorTest, MouseEntryThreeIsTheWheelUp) {
    EditorRig rig;
    rig.OpenOn(kSlotA, kControlA);
    rig.Find<QCheckBox>("mouseChoice")->click();
    rig.Find<QComboBox>("mouseList")->setCurrentIndex(3);
    rig.editor.Apply();
    EXPECT_EQ(rig.Assignment(kSlotA).type, Type(AssignmentType::Key));
    EXPECT_EQ(rig.Assignment(kSlotA).value, 0x161);
}

TEST(KeyEditorTest, OpensOnAMouseAssignmentWithMouseChosen) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Key, 0x173);
    rig.OpenOn(kSlotA, kControlA);
    EXPECT_TRUE(rig.Find<QCheckBox>("mouseChoice")->isChecked());
    EXPECT_EQ(rig.Find<QComboBox>("mouseList")->currentIndex(), 2);
    EXPECT_TRUE(rig.Find<QComboBox>("mouseList")->isEnabled());
    EXPECT_FALSE(rig.Find<QLineEdit>("keyField")->isEnabled());
}

TEST(KeyEditorTest, TheMouseChoiceOfAnEarlierOpeningDoesNotCarryOver) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Key, 0x173);
    rig.OpenOn(kSlotA, kControlA);
    ASSERT_TRUE(rig.Find<QCheckBox>("mouseChoice")->isChecked());
    rig.editor.CloseIfOpen();

    // A media key, then the single-key page without a key pressed: nothing was chosen.
    rig.Assign(kSlotB, AssignmentType::Media, 1);
    rig.OpenOn(kSlotB, kControlB);
    rig.Find<CPngButton>("keyPage")->click();
    EXPECT_TRUE(rig.Find<QCheckBox>("keyboardChoice")->isChecked());
    EXPECT_FALSE(rig.Find<QCheckBox>("mouseChoice")->isChecked());
    rig.editor.Apply();
    EXPECT_EQ(rig.Assignment(kSlotB).type, Type(AssignmentType::Default));
    EXPECT_EQ(rig.Assignment(kSlotB).value, 0);
}

TEST(KeyEditorTest, ApplyIsEnabledByAChangeAndKeepsTheEditorOpen) {
    EditorRig rig;
    rig.OpenOn(kSlotA, kControlA);
    auto* apply = rig.Find<CPngButton>("apply");
    ASSERT_NE(apply, nullptr);
    EXPECT_TRUE(apply->isVisible());
    EXPECT_FALSE(apply->isEnabled());

    rig.Key(Qt::Key_B, kEvdevB);
    EXPECT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_EQ(rig.Assignment(kSlotA).value, 0x030);
    EXPECT_TRUE(rig.host.pending);
    EXPECT_TRUE(rig.editor.IsOpen());
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_FALSE(rig.editor.Changed());
}

TEST(KeyEditorTest, AChoiceInAListEnablesApplyButFillingThemDoesNot) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Media, 5);
    rig.OpenOn(kSlotA, kControlA);
    auto* apply = rig.Find<CPngButton>("apply");
    EXPECT_FALSE(apply->isEnabled());

    auto* media = rig.Find<QComboBox>("mediaList");
    media->setCurrentIndex(2);
    emit media->activated(2);
    EXPECT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_EQ(rig.Assignment(kSlotA).value, 2);

    rig.Find<CPngButton>("keyPage")->click();
    apply->click();
    EXPECT_FALSE(apply->isEnabled());
    rig.Find<QCheckBox>("mouseChoice")->click();
    EXPECT_TRUE(apply->isEnabled());
}

TEST(KeyEditorTest, MacroModeAssignsTheCurrentMacroToG9) {
    EditorRig rig;
    rig.core.Working().SetMacros({Macro(3, u"First", 1), Macro(7, u"Second", 4)});
    rig.Assign(kSlotG9, AssignmentType::PlayMacro, 7);
    rig.OpenOn(kSlotG9, kControlG9);

    EXPECT_TRUE(rig.Find<QComboBox>("macroList")->isVisible());
    EXPECT_FALSE(rig.Find<QLineEdit>("keyField")->isVisible());
    EXPECT_FALSE(rig.Find<QComboBox>("mediaList")->isVisible());
    for (const char* button : {"keyPage", "mediaPage", "functionPage", "clear"}) {
        EXPECT_FALSE(rig.Find<CPngButton>(button)->isEnabled()) << button;
    }
    EXPECT_TRUE(rig.Find<CPngButton>("macroPage")->IsSelected());

    rig.editor.Apply();
    const KeyAssignment record = rig.Assignment(kSlotG9);
    EXPECT_EQ(record.type, Type(AssignmentType::PlayMacro));
    EXPECT_EQ(record.value, 7);
    EXPECT_EQ(record.gId, 4);
}

// The macro page with no macro chosen would assign a macro that plays whichever comes first:
// Apply and OK leave the key as it was, say why, and OK keeps the editor open.
TEST(KeyEditorTest, MacroPageWithoutAChosenMacroKeepsTheKey) {
    for (const bool withMacros : {false, true}) {
        for (const char* button : {"apply", "ok"}) {
            EditorRig rig;
            if (withMacros) {
                rig.core.Working().SetMacros({Macro(3, u"First", 1)});
            }
            rig.Assign(kSlotA, AssignmentType::Media, 2);
            rig.OpenOn(kSlotA, kControlA);
            rig.Find<CPngButton>("macroPage")->click();
            auto* list = rig.Find<QComboBox>("macroList");
            EXPECT_TRUE(list->isVisible());
            list->setCurrentIndex(-1);
            rig.Find<CPngButton>(button)->click();
            const KeyAssignment record = rig.Assignment(kSlotA);
            EXPECT_EQ(record.type, Type(AssignmentType::Media)) << button << withMacros;
            EXPECT_EQ(record.value, 2) << button << withMacros;
            EXPECT_EQ(rig.messages.Shown(), std::vector<std::string>{"KEY_NO_MACRO_CHOSEN"})
                << button << withMacros;
            EXPECT_TRUE(rig.editor.IsOpen()) << button << withMacros;
            rig.editor.CloseIfOpen();
        }
    }
}

TEST(KeyEditorTest, ClearOnAMediaKeyGivesDefaultOnTheSingleKeyPage) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Media, 5);
    rig.OpenOn(kSlotA, kControlA);
    EXPECT_TRUE(rig.Find<QComboBox>("mediaList")->isVisible());
    EXPECT_EQ(rig.Find<QComboBox>("mediaList")->currentIndex(), 5);

    rig.Find<CPngButton>("clear")->click();
    EXPECT_TRUE(rig.Find<QLineEdit>("keyField")->isVisible());
    EXPECT_TRUE(rig.Find<CPngButton>("keyPage")->IsSelected());
    rig.editor.Apply();
    EXPECT_EQ(rig.Assignment(kSlotA).type, Type(AssignmentType::Default));
}

TEST(KeyEditorTest, FunctionPageWritesTheChosenFunction) {
    EditorRig rig;
    rig.OpenOn(kSlotA, kControlA);
    EXPECT_EQ(rig.Find<QComboBox>("functionList")->count(), 11);
    EXPECT_EQ(rig.Find<QComboBox>("mediaList")->count(), 18);
    rig.Find<CPngButton>("functionPage")->click();
    rig.Find<QComboBox>("functionList")->setCurrentIndex(4);
    rig.editor.Apply();
    EXPECT_EQ(rig.Assignment(kSlotA).type, Type(AssignmentType::Function));
    EXPECT_EQ(rig.Assignment(kSlotA).value, 4);
}

TEST(KeyEditorTest, EnterDoesNotCloseEscapeCancelsAndF1OpensHelp) {
    EditorRig rig;
    rig.Assign(kSlotA, AssignmentType::Media, 0);
    rig.OpenOn(kSlotA, kControlA);
    rig.Key(Qt::Key_Return, 28);
    EXPECT_TRUE(rig.editor.IsOpen());
    EXPECT_TRUE(rig.editor.isVisible());
    rig.Key(Qt::Key_F1, 59);
    EXPECT_EQ(rig.host.CallsStartingWith("help").size(), 1u);

    rig.Key(Qt::Key_Escape, 1);
    EXPECT_FALSE(rig.editor.IsOpen());
    EXPECT_EQ(rig.Assignment(kSlotA).type, Type(AssignmentType::Media));
    EXPECT_FALSE(rig.host.pending);
}

TEST(KeyEditorTest, TheTitleNamesTheKeyOrTheMacroOnG9) {
    EditorRig rig;
    rig.OpenOn(kSlotA, kControlA);
    const std::string title = rig.editor.windowTitle().toStdString();
    EXPECT_NE(title.find(rig.NameOf(0x01E)), std::string::npos) << title;
    rig.editor.CloseIfOpen();

    rig.OpenOn(kSlotG9, kControlG9);
    EXPECT_EQ(rig.editor.windowTitle().toStdString(), rig.core.Text("MACRO_EDIT_TISHI"));
    EXPECT_NE(rig.core.Text("MACRO_EDIT_TISHI").find("G9"), std::string::npos);
}

TEST(KeyEditorTest, RecordShowsStopUnderThePointerWhileRecording) {
    EditorRig rig;
    rig.core.Working().SetMacros({Macro(3, u"First", 1)});
    rig.OpenOn(kSlotG9, kControlG9);
    CPngButton* record = rig.Find<CPngButton>("FUNC_MACRO_RECORD");
    record->click();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(record, &enter);
    ASSERT_TRUE(record->IsHovered());

    EXPECT_EQ(record->text().toStdString(), rig.core.Text("MACRO_ACTION_STOP_RECORD"));
    EXPECT_EQ(record->CurrentLook().face, record->Faces().selected);
    record->click();
    EXPECT_EQ(record->CurrentLook().face, record->Faces().hover);
}

TEST(KeyEditorTest, EnterInADelayCellCommitsItAndTheListShowsALongMacro) {
    EditorRig rig;
    MacroRecord macro = Macro(3, u"Long", 1);
    constexpr int kActions = 20;
    macro.SetActionCount(kActions);
    for (int n = 0; n < kActions; ++n) {
        macro.SetAction(static_cast<size_t>(n),
                        {.delay = 50, .key = 0x01E, .state = n % 2 == 0 ? MacroAction::kPress
                                                                         : MacroAction::kRelease});
    }
    rig.core.Working().SetMacros({macro});
    rig.OpenOn(kSlotG9, kControlG9);
    auto* actions = rig.Find<CReportCtrl>("actions");
    ASSERT_EQ(actions->ItemCount(), kActions);

    // More than four rows in sight, and the columns beside the vertical scroll bar.
    const int rowHeight = actions->visualRect(actions->model()->index(0, 0)).height();
    ASSERT_GT(rowHeight, 0);
    EXPECT_GE(actions->viewport()->height() / rowHeight, 6);
    EXPECT_FALSE(actions->horizontalScrollBar()->isVisible());
    EXPECT_LE(actions->header()->length(), actions->viewport()->width());

    actions->SelectItem(0);
    actions->editItem(actions->topLevelItem(0), 2);
    auto* box = qobject_cast<QLineEdit*>(actions->indexWidget(actions->model()->index(0, 2)));
    ASSERT_NE(box, nullptr);
    box->setText("120");
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(actions->ItemText(0, 2), QStringLiteral("120"));
    EXPECT_TRUE(rig.editor.isVisible());
}

// Programs on a search path of the test's own, so the machine's programs do not count.
class OnScreenKeyboardTest : public testing::Test {
protected:
    void SetUp() override { savedPath_ = qgetenv("PATH"); }
    void TearDown() override { qputenv("PATH", savedPath_); }

    void Install(const char* program) {
        const fs::path file = folder_ / program;
        folder_.Write(program, "#!/bin/sh\n");
        fs::permissions(file, fs::perms::owner_all);
    }
    void UseOnlyTheTestPath() { qputenv("PATH", QByteArray::fromStdString(folder_.Path().string())); }

    test::TempFolder folder_;

private:
    QByteArray savedPath_;
};

TEST_F(OnScreenKeyboardTest, PrefersOnboardAndFindsOthers) {
    UseOnlyTheTestPath();
    EXPECT_TRUE(FindOnScreenKeyboard().isEmpty());
    Install("florence");
    EXPECT_TRUE(FindOnScreenKeyboard().endsWith(QStringLiteral("/florence")));
    Install("onboard");
    EXPECT_TRUE(FindOnScreenKeyboard().endsWith(QStringLiteral("/onboard")));
}

TEST_F(OnScreenKeyboardTest, ButtonIsDisabledWithoutOne) {
    UseOnlyTheTestPath();
    EditorRig rig;
    rig.OpenOn(kSlotA, kControlA);
    EXPECT_FALSE(rig.Find<CPngButton>("onScreenKeyboard")->isEnabled());
    rig.editor.CloseIfOpen();

    Install("onboard");
    rig.OpenOn(kSlotA, kControlA);
    EXPECT_TRUE(rig.Find<CPngButton>("onScreenKeyboard")->isEnabled());
}

}  // namespace
}  // namespace zarvin
