// The macro page on Qt's offscreen platform: recording through the key hook, the macro list's
// Add, Delete and typed names, the cycles field and in-place editing of the action list.

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "control/ConfiguratorCore.h"
#include "dialogs/KeyHook.h"
#include "dialogs/MacroPage.h"
#include "model/KeyAssignment.h"
#include "model/KeyCodes.h"
#include "model/MacroRecord.h"
#include "skin/ComboBox4ListCtrl.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "store/AppContext.h"
#include "support/QtTestApplication.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedQuestions.h"
#include "support/SocketNodeSource.h"
#include "support/TempFolder.h"
#include "support/TemporaryRoots.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;

void RunPosted() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program folder holds the shipped language file only.
AppRoots RootsIn(const test::TempFolder& folder) {
    const AppRoots roots = test_support::TemporaryRoots(folder);
    fs::copy_file(ZARVIN_SOURCE_LANGUAGE_FILE, roots.programFile.parent_path() / "Lang0416.ini");
    return roots;
}

MacroRecord Macro(uint16_t id, std::u16string_view name) {
    MacroRecord macro;
    macro.SetName(name);
    macro.SetId(id);
    macro.SetCycles(1);
    return macro;
}

struct Row {
    QString key, state, delay;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << "(" << row.key.toStdString() << ", '" << row.state.toStdString() << "', "
         << row.delay.toStdString() << ")";
}

const QString kDown = QString(QChar(0x2193));
const QString kUp = QStringLiteral("  ") + QChar(0x2191);

// Counts the key events that reach the object it filters.
class KeyCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            ++count;
        }
        return false;
    }
    int count = 0;
};

class MacroPageTest : public testing::Test {
protected:
    void SetUp() override {
        macroList.setEditable(true);
        for (CPngButton* button : {&add, &remove, &record, &deleteAction, &clearActions, &moveTop,
                                   &moveUp, &moveDown, &moveBottom}) {
            button->setParent(&dialog);
        }
        page = std::make_unique<MacroPage>(
            core, &dialog,
            MacroPageControls{&macroList, &cycles, &actions, &add, &remove, &record, &deleteAction,
                              &clearActions, &moveTop, &moveUp, &moveDown, &moveBottom,
                              &recordDelay},
            [this] { ++changes; });
        page->SetClock([this] { return now; });
        dialog.installEventFilter(&reached);
        dialog.show();
    }

    // The editor's opening with these macros in the working store.
    void Open(std::vector<MacroRecord> macros, int recordDelaySetting = 1) {
        ASSERT_TRUE(core.Working().SetMacros(std::move(macros)));
        core.UserSettings().WriteProfileNumber(core.Text("MACRO_ACTION_RECORD_DELAY"),
                                         recordDelaySetting);
        page->SetUpActionList();
        page->LoadMacroList();
    }

    // Sends a key event to the editor; true when it was swallowed before reaching it.
    bool Key(QEvent::Type type, uint16_t evdevCode, bool autoRepeat = false) {
        QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, evdevCode + 8u, 0, 0, QString(),
                        autoRepeat);
        const int before = reached.count;
        QApplication::sendEvent(&dialog, &event);
        return reached.count == before;
    }
    void Stroke(uint16_t evdevCode, int64_t heldFor) {
        Key(QEvent::KeyPress, evdevCode);
        now += heldFor;
        Key(QEvent::KeyRelease, evdevCode);
    }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        for (int row = 0; row < actions.ItemCount(); ++row) {
            rows.push_back(
                {actions.ItemText(row, 0), actions.ItemText(row, 1), actions.ItemText(row, 2)});
        }
        return rows;
    }
    QString Name(KeyCode code) const {
        return QString::fromStdString(KeyNameOf(code, core.Texts()));
    }
    std::vector<MacroAction> StoredActions() {
        page->StoreCurrentMacro();
        const MacroRecord macro = page->Macros().at(static_cast<size_t>(page->CurrentMacro()));
        std::vector<MacroAction> stored;
        for (size_t i = 0; i < macro.ActionCount(); ++i) {
            stored.push_back(macro.Action(i));
        }
        return stored;
    }
    QWidget* CellEditor(int row, int column) {
        return actions.indexWidget(actions.model()->index(row, column));
    }

    test::TempFolder folder;
    AppContext context{RootsIn(folder)};
    test_support::SocketNodeSource nodes;
    test_support::RecordingMessages messages;
    test_support::ScriptedQuestions questions;
    ConfiguratorCore core{context, nodes, messages, questions};

    QWidget dialog;
    QComboBox macroList{&dialog};
    QLineEdit cycles{&dialog};
    CReportCtrl actions{&dialog};
    CPngButton add, remove, record, deleteAction, clearActions, moveTop, moveUp, moveDown,
        moveBottom;
    QCheckBox recordDelay{&dialog};
    int changes = 0;
    int64_t now = 1000;
    // Made once the controls are set up as the editor hands them over.
    std::unique_ptr<MacroPage> page;
    KeyCounter reached;
};

TEST(KeyMessage, FromTheNativeScanCode) {
    struct Case {
        QEvent::Type type;
        uint16_t evdevCode;
        bool autoRepeat;
        Qt::KeyboardModifiers modifiers;
        uint8_t vk;
        uint32_t keyWord;
        KeyCode keyCode;
    };
    const Case cases[] = {
        {QEvent::KeyPress, KEY_A, false, Qt::NoModifier, 0x41, 0x001E0001, 0x01E},
        {QEvent::KeyPress, KEY_A, true, Qt::NoModifier, 0x41, 0x401E0001, 0x01E},
        {QEvent::KeyRelease, KEY_A, false, Qt::NoModifier, 0x41, 0x801E0001, 0x01E},
        {QEvent::KeyPress, KEY_RIGHTCTRL, false, Qt::NoModifier, 0xA3, 0x011D0001, 0x11D},
        {QEvent::KeyPress, KEY_SYSRQ, false, Qt::NoModifier, 0x2C, 0x01370001, 0x137},
        {QEvent::KeyPress, KEY_SYSRQ, false, Qt::AltModifier, 0x2C, 0x00540001, 0x054},
        {QEvent::KeyPress, KEY_PAUSE, false, Qt::NoModifier, 0x13, 0x00450001, 0x045},
        {QEvent::KeyPress, KEY_PAUSE, false, Qt::ControlModifier, 0x03, 0x01460001, 0x146},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(c.type, Qt::Key_unknown, c.modifiers, c.evdevCode + 8u, 0, 0,
                              QString(), c.autoRepeat);
        const std::optional<KeyMessage> message = KeyMessageOf(event);
        ASSERT_TRUE(message) << c.evdevCode;
        EXPECT_EQ(message->vk, c.vk) << c.evdevCode;
        EXPECT_EQ(message->keyWord, c.keyWord) << c.evdevCode;
        EXPECT_EQ(message->release, c.type == QEvent::KeyRelease);
        EXPECT_EQ(message->autoRepeat, c.autoRepeat);
        EXPECT_EQ(KeyCodeOfKeyEvent(message->vk, message->keyWord), c.keyCode) << c.evdevCode;
    }
    const QKeyEvent noScanCode(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, 0);
    EXPECT_FALSE(KeyMessageOf(noScanCode));
    const QKeyEvent unknownKey(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, KEY_MACRO1 + 8u,
                               0, 0);
    EXPECT_FALSE(KeyMessageOf(unknownKey));
}

TEST(KeyHookTest, FiltersTheApplicationsKeysOnlyWhileInstalled) {
    QWidget grabber;
    QWidget other;
    QWidget child(&other);  // ignores keys, so they travel on to `other`
    std::vector<KeyMessage> heard;
    KeyHook hook(&grabber, [&](const KeyMessage& message) {
        heard.push_back(message);
        return message.vk == 0x41;  // swallows A only
    });
    const auto send = [&](uint16_t evdevCode) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, evdevCode + 8u, 0, 0);
        return QApplication::sendEvent(&child, &event);
    };
    send(KEY_A);
    EXPECT_TRUE(heard.empty());

    hook.Install();
    hook.Install();
    EXPECT_EQ(QWidget::keyboardGrabber(), &grabber);
    EXPECT_TRUE(send(KEY_A));
    send(KEY_B);
    ASSERT_EQ(heard.size(), 2u) << "one call per event, however far it travels";
    EXPECT_EQ(heard[1].vk, 0x42);

    hook.Remove();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    send(KEY_A);
    EXPECT_EQ(heard.size(), 2u);
}

TEST_F(MacroPageTest, RecordingTakesMeasuredOrFixedDelays) {
    struct Case {
        int recordDelay;
        QString pressDelay;
    };
    for (const Case& c : {Case{1, "120"}, Case{0, "50"}}) {
        page->FreeMacroPage();
        Open({Macro(1, u"Macro 1")}, c.recordDelay);
        EXPECT_EQ(recordDelay.isChecked(), c.recordDelay == 1);
        page->ShowMacroPage(true, 0);
        EXPECT_TRUE(record.isEnabled());

        record.click();
        ASSERT_TRUE(page->Recording());
        EXPECT_EQ(record.text(), QString::fromStdString(core.Text("MACRO_ACTION_STOP_RECORD")));
        EXPECT_FALSE(add.isEnabled());
        EXPECT_FALSE(macroList.isEnabled());
        now += 300;
        Stroke(KEY_A, 120);
        record.click();
        EXPECT_FALSE(page->Recording());
        EXPECT_TRUE(add.isEnabled());
        EXPECT_EQ(record.text(), QString::fromStdString(core.Text("MACRO_ACTION_RECORD")));

        EXPECT_EQ(Rows(),
                  (std::vector<Row>{{Name(0x01E), kDown, c.pressDelay}, {Name(0x01E), kUp, "0"}}))
            << "record delay " << c.recordDelay;
        Key(QEvent::KeyPress, KEY_B);
        EXPECT_EQ(actions.ItemCount(), 2) << "nothing is recorded once stopped";
    }
}

TEST_F(MacroPageTest, RecorderSkipsRepeatsAndMediaKeysAndRecordsTheWindowsKeys) {
    Open({Macro(1, u"Macro 1")});
    page->ShowMacroPage(true, 0);
    record.click();

    EXPECT_TRUE(Key(QEvent::KeyPress, KEY_A));
    for (int repeat = 0; repeat < 3; ++repeat) {  // held: repeated as release and press pairs
        now += 30;
        EXPECT_TRUE(Key(QEvent::KeyRelease, KEY_A, true));
        EXPECT_TRUE(Key(QEvent::KeyPress, KEY_A, true));
    }
    now += 10;
    Key(QEvent::KeyRelease, KEY_A);

    EXPECT_FALSE(Key(QEvent::KeyPress, KEY_VOLUMEUP)) << "the desktop changes the volume";
    EXPECT_FALSE(Key(QEvent::KeyRelease, KEY_VOLUMEUP));

    now += 200;
    EXPECT_TRUE(Key(QEvent::KeyPress, KEY_LEFTMETA));
    now += 20;
    EXPECT_TRUE(Key(QEvent::KeyPress, KEY_LEFTMETA, true));
    now += 20;
    EXPECT_TRUE(Key(QEvent::KeyRelease, KEY_LEFTMETA));

    // Print Screen: the release stands for the stroke, with a press put in 2 ms before it.
    now += 70;
    EXPECT_TRUE(Key(QEvent::KeyPress, KEY_SYSRQ));
    now += 30;
    EXPECT_TRUE(Key(QEvent::KeyRelease, KEY_SYSRQ));

    EXPECT_EQ(StoredActions(), (std::vector<MacroAction>{{100, 0x01E, 0},
                                                         {200, 0x01E, 1},
                                                         {40, 0x15B, 0},
                                                         {2, 0x15B, 1},
                                                         {100, 0x137, 0},
                                                         {0, 0x137, 1}}));
    EXPECT_EQ(Rows()[2], (Row{Name(0x15B), kDown, "40"}));
}

TEST_F(MacroPageTest, RecordedActionsGoAfterTheSelectedRow) {
    Open({Macro(1, u"Macro 1")});
    page->ShowMacroPage(true, 0);
    record.click();
    Stroke(KEY_A, 100);
    actions.SelectItem(0);
    now += 30;
    Key(QEvent::KeyPress, KEY_B);
    EXPECT_EQ(StoredActions(),
              (std::vector<MacroAction>{{30, 0x01E, 0}, {100, 0x030, 0}, {0, 0x01E, 1}}));
    EXPECT_EQ(actions.NextItem(-1, CReportCtrl::RowState::Selected), 1);
}

TEST_F(MacroPageTest, CyclesFieldKeepsOneTo255) {
    Open({Macro(1, u"Macro 1")});
    page->ShowMacroPage(true, 0);
    struct Case {
        const char* typed;
        QString shown;
    };
    for (const Case& c : {Case{"300", "255"}, Case{"0", "1"}, Case{"", "1"}, Case{"42", "42"}}) {
        changes = 0;
        cycles.selectAll();
        if (std::string_view(c.typed).empty()) {
            QTest::keyClick(&cycles, Qt::Key_Delete);
        }
        QTest::keyClicks(&cycles, c.typed);
        EXPECT_EQ(cycles.text(), c.shown) << c.typed;
        EXPECT_GT(changes, 0) << c.typed;
    }
    page->StoreCurrentMacro();
    EXPECT_EQ(page->Macros()[0].Cycles(), 42);
}

TEST_F(MacroPageTest, DelayCellsRoundDownAndStopAt40000) {
    MacroRecord macro = Macro(1, u"Macro 1");
    macro.SetActionCount(2);
    macro.SetAction(0, {50, 0x01E, 0});
    macro.SetAction(1, {0, 0x01E, 1});
    Open({macro});
    page->ShowMacroPage(true, 0);
    struct Case {
        const char* typed;
        int32_t stored;
        std::vector<std::string> messages;
    };
    const Case cases[] = {{"12345", 12340, {}},
                          {"50000", 40000, {"MACRO_ACTION_ERR_DELAY_MAX:40000"}}};
    for (const Case& c : cases) {
        messages.Clear();
        actions.SelectItem(0);
        actions.editItem(actions.topLevelItem(0), 2);
        auto* box = qobject_cast<QLineEdit*>(CellEditor(0, 2));
        ASSERT_NE(box, nullptr);
        box->setText(c.typed);
        QTest::keyClick(box, Qt::Key_Return);
        RunPosted();
        EXPECT_EQ(actions.ItemText(0, 2), QString::number(c.stored)) << c.typed;
        EXPECT_EQ(StoredActions()[0].delay, c.stored) << c.typed;
        EXPECT_EQ(messages.Shown(), c.messages) << c.typed;
    }

    // A delay edit stops recording, and the editor's EndInPlaceEdit takes what the box holds.
    record.click();
    actions.editItem(actions.topLevelItem(1), 2);
    EXPECT_FALSE(page->Recording());
    auto* box = qobject_cast<QLineEdit*>(CellEditor(1, 2));
    ASSERT_NE(box, nullptr);
    box->setText("75");
    page->EndInPlaceEdit();
    RunPosted();
    EXPECT_EQ(CellEditor(1, 2), nullptr);
    EXPECT_EQ(StoredActions()[1].delay, 70);
}

TEST_F(MacroPageTest, KeyAndStateDropDownsChangeTheSelectedRow) {
    MacroRecord macro = Macro(1, u"Macro 1");
    macro.SetActionCount(1);
    macro.SetAction(0, {10, 0x01E, 0});
    Open({macro});
    page->ShowMacroPage(true, 0);
    actions.SelectItem(0);

    const uint16_t pickOfB = PickOfKeyCode(0x030);
    actions.editItem(actions.topLevelItem(0), 0);
    auto* keys = qobject_cast<CComboBox4ListCtrl*>(CellEditor(0, 0));
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->count(), kPickListSize);
    EXPECT_EQ(keys->currentIndex(), PickOfKeyCode(0x01E));
    keys->setCurrentIndex(pickOfB);
    emit keys->activated(pickOfB);
    RunPosted();

    actions.editItem(actions.topLevelItem(0), 1);
    auto* states = qobject_cast<CComboBox4ListCtrl*>(CellEditor(0, 1));
    ASSERT_NE(states, nullptr);
    states->setCurrentIndex(1);
    emit states->activated(1);
    RunPosted();

    EXPECT_EQ(StoredActions(), (std::vector<MacroAction>{{10, KeyCodeOfPick(pickOfB), 1}}));
    EXPECT_EQ(Rows()[0],
              (Row{QString::fromStdString(PickNameOf(pickOfB, core.Texts())), kUp, "10"}));
}

TEST_F(MacroPageTest, AddTakesTheNextFreshNameAndTheSmallestFreeId) {
    Open({Macro(1, u"Macro 1"), Macro(2, u"macro 2"), Macro(4, u"Other")});
    changes = 0;
    add.click();
    const std::vector<MacroRecord> macros = page->Macros();
    ASSERT_EQ(macros.size(), 4u);
    EXPECT_EQ(macros[3].Name(), u"Macro 3");
    EXPECT_EQ(macros[3].Id(), 3);
    EXPECT_EQ(macros[3].NewFlag(), 1u);
    EXPECT_EQ(page->CurrentMacro(), 3);
    EXPECT_EQ(macroList.currentText(), "Macro 3");
    EXPECT_EQ(cycles.text(), "1");
    EXPECT_TRUE(deleteAction.isEnabled());
    EXPECT_GT(changes, 0);
}

TEST_F(MacroPageTest, AHundredMacrosAreTheMost) {
    std::vector<MacroRecord> full;
    for (uint16_t id = 1; id <= 100; ++id) {
        full.push_back(Macro(id, u"M" + std::u16string(1, static_cast<char16_t>(u'A' + id % 26))));
    }
    Open(full);
    add.click();
    EXPECT_EQ(page->Macros().size(), 100u);
    EXPECT_EQ(messages.Shown(), (std::vector<std::string>{"MACRO_ERR_MAX:100"}));
}

TEST_F(MacroPageTest, DeletingAMacroAKeyPlaysAsksAndNoKeepsIt) {
    const KeyAssignment plays{.type = static_cast<uint16_t>(AssignmentType::PlayMacro), .value = 2};
    ASSERT_TRUE(core.Working().SetAssignment(KeyRecordNumber(0, 0x01E), plays));
    Open({Macro(1, u"First"), Macro(2, u"Played")});
    page->ShowMacroPage(true, 2);
    ASSERT_EQ(page->CurrentMacro(), 1);

    questions.answer = false;
    remove.click();
    EXPECT_EQ(questions.asked, (std::vector<std::string>{"MACRO_DELETE_CONFIRM_OF_KEYS"}));
    EXPECT_EQ(page->Macros().size(), 2u);

    questions.answer = true;
    remove.click();
    ASSERT_EQ(page->Macros().size(), 1u);
    EXPECT_EQ(page->Macros()[0].Name(), u"First");
    EXPECT_EQ(page->CurrentMacro(), 0);
    EXPECT_EQ(macroList.count(), 1);
}

TEST_F(MacroPageTest, TypingRenamesTheCurrentMacro) {
    Open({Macro(1, u"Macro 1"), Macro(2, u"Copy")});
    page->ShowMacroPage(true, 1);
    struct Case {
        const char* typed;
        std::u16string name;
    };
    const Case cases[] = {{"Paste", u"Paste"}, {"co", u"Macro 1"}, {"", u"Macro 2"}};
    for (const Case& c : cases) {
        // One change of the edit field's text.
        macroList.lineEdit()->setText(c.typed);
        emit macroList.lineEdit()->textEdited(c.typed);
        EXPECT_EQ(page->Macros()[0].Name(), c.name) << c.typed;
        EXPECT_EQ(macroList.itemText(0).toStdU16String(), c.name) << c.typed;
        EXPECT_EQ(macroList.lineEdit()->text(), c.typed) << "what the user types stays";
    }
}

TEST_F(MacroPageTest, TypingIntoAnEmptyListCreatesAMacro) {
    Open({});
    QTest::keyClicks(macroList.lineEdit(), "X");
    ASSERT_EQ(page->Macros().size(), 1u);
    EXPECT_EQ(page->Macros()[0].Name(), u"X");
    EXPECT_EQ(page->Macros()[0].Id(), 1);
    EXPECT_EQ(page->CurrentMacro(), 0);
    EXPECT_TRUE(record.isEnabled());
}

TEST_F(MacroPageTest, ShowingThePageChoosesTheCurrentMacroOnlyTheFirstTime) {
    struct Case {
        bool initial;
        int32_t recordValue;
        int current;
    };
    const Case cases[] = {
        {true, 2, 1},     // the edited key plays macro 2
        {true, 9, 0},     // no such macro: the first
        {false, 0, 0},    // a Default key: the first
        {false, 30, -1},  // a key with another assignment: none
    };
    for (const Case& c : cases) {
        page->FreeMacroPage();
        Open({Macro(1, u"A"), Macro(2, u"B")});
        page->ShowMacroPage(c.initial, c.recordValue);
        EXPECT_EQ(page->CurrentMacro(), c.current) << c.initial << " " << c.recordValue;
        EXPECT_EQ(moveUp.isEnabled(), c.current >= 0);
    }
    page->ShowMacroPage(false, 0);
    EXPECT_EQ(page->CurrentMacro(), -1) << "only the first showing chooses";
}

TEST_F(MacroPageTest, AFirstShowingOfAnEmptyListStillCounts) {
    // A Default key, the macro page shown with no macros, two added, another page and back.
    Open({});
    page->ShowMacroPage(false, 0);
    add.click();
    add.click();
    ASSERT_EQ(page->CurrentMacro(), 1);
    page->ShowMacroPage(false, 0);
    EXPECT_EQ(page->CurrentMacro(), 1) << "the macro the user added last stays current";
}

TEST_F(MacroPageTest, ClearAsksAndMovesCarryTheActions) {
    MacroRecord macro = Macro(1, u"Macro 1");
    macro.SetActionCount(3);
    macro.SetAction(0, {10, 0x01E, 0});
    macro.SetAction(1, {20, 0x030, 0});
    macro.SetAction(2, {30, 0x02E, 0});
    Open({macro});
    page->ShowMacroPage(true, 0);

    actions.SelectItem(0);
    moveBottom.click();
    moveUp.click();
    EXPECT_EQ(StoredActions(),
              (std::vector<MacroAction>{{20, 0x030, 0}, {10, 0x01E, 0}, {30, 0x02E, 0}}));
    EXPECT_EQ(actions.ItemText(1, 2), "10");

    questions.answer = false;
    clearActions.click();
    EXPECT_EQ(actions.ItemCount(), 3);
    questions.answer = true;
    clearActions.click();
    EXPECT_EQ(questions.asked, (std::vector<std::string>(2, "MACRO_ACTION_CLEAR_CONFIRM")));
    EXPECT_TRUE(StoredActions().empty());
}

TEST_F(MacroPageTest, TheRecordDelayBoxTogglesTheSetting) {
    Open({}, 7);
    EXPECT_FALSE(recordDelay.isChecked());
    const std::string name = core.Text("MACRO_ACTION_RECORD_DELAY");
    EXPECT_EQ(core.UserSettings().ReadProfileNumber(name, -1), 0) << "a stray value is written as 0";
    recordDelay.click();
    EXPECT_EQ(core.UserSettings().ReadProfileNumber(name, -1), 1);
    EXPECT_TRUE(recordDelay.isChecked());
}

}  // namespace
}  // namespace zarvin
