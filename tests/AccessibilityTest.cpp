#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/KeyboardView.h"
#include "app/LightingPanelView.h"
#include "app/TrayIcon.h"
#include "app/ZarvinDlg.h"
#include "control/LightingPanel.h"
#include "control/LightingState.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "model/KeyAssignment.h"
#include "model/KeyboardLayout.h"
#include "skin/PngButton.h"
#include "support/QtTestApplication.h"
#include "support/WindowRig.h"

namespace zarvin {
namespace {

using test_support::WaitUntil;
using test_support::WindowRig;

// The roles of controls a user acts on; anything that takes the focus counts as well.
const std::set<QAccessible::Role> kInteractiveRoles = {
    QAccessible::Button,       QAccessible::CheckBox,       QAccessible::RadioButton,
    QAccessible::ComboBox,     QAccessible::EditableText,   QAccessible::Slider,
    QAccessible::SpinBox,      QAccessible::Link,           QAccessible::MenuItem,
    QAccessible::Tree,         QAccessible::List,           QAccessible::Table,
    QAccessible::ButtonMenu,   QAccessible::ButtonDropDown, QAccessible::PageTab,
};

struct Walk {
    std::vector<std::string> problems;
    int interactive = 0;
};

std::string Describe(QAccessibleInterface& node) {
    const QObject* object = node.object();
    const QRect place = node.rect();
    return (object != nullptr ? std::string(object->metaObject()->className()) + " '" +
                                    object->objectName().toStdString() + "'"
                              : std::string("(no object)")) +
           " role " + std::to_string(node.role()) + " at " + std::to_string(place.x()) + "," +
           std::to_string(place.y());
}

// Every visible control a user can act on has a role of its own and a name. An interactive
// control's own parts (a drop-down's list, a tree's rows) are its business, not walked.
void WalkTree(QAccessibleInterface* node, Walk& walk) {
    for (int i = 0; node != nullptr && i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr || child->state().invisible) {
            continue;
        }
        const QAccessible::State state = child->state();
        const bool interactive = kInteractiveRoles.contains(child->role()) ||
                                 (state.focusable && !state.disabled);
        if (!interactive) {
            WalkTree(child, walk);
            continue;
        }
        ++walk.interactive;
        if (child->role() == QAccessible::NoRole || child->role() == QAccessible::Client) {
            walk.problems.push_back("no role: " + Describe(*child));
        }
        if (child->text(QAccessible::Name).trimmed().isEmpty()) {
            walk.problems.push_back("no name: " + Describe(*child));
        }
    }
}

QWidget* OpenKeyEditorPage(WindowRig& rig, const char* pageButton) {
    rig.window.OnKeyClicked(test_support::kKeyA);
    Zarvin_DlgComposite& editor = rig.window.KeyEditor();
    if (pageButton != nullptr) {
        QTest::mouseClick(editor.findChild<CPngButton*>(QString::fromLatin1(pageButton)),
                          Qt::LeftButton);
    }
    return &editor;
}

void SwitchLightingOn(WindowRig& rig, int effectPosition) {
    LightingState& lighting = rig.window.Panel().Lighting();
    if (!lighting.LightingPanelOn()) {
        lighting.ToggleLightingPanel();
    }
    auto* effects = qobject_cast<QComboBox*>(rig.window.Panel().EffectCombo());
    effects->setCurrentIndex(effectPosition < 0 ? effects->count() - 1 : effectPosition);
}

struct WindowCase {
    const char* name;
    std::function<QWidget*(WindowRig&)> open;
    int leastInteractive;  // so that a walk that reached nothing does not pass
};

const WindowCase kWindows[] = {
    {"MainWindow", [](WindowRig& rig) -> QWidget* { return &rig.window; }, 120},
    {"MainWindowWithWaveLighting",
     [](WindowRig& rig) -> QWidget* {
         SwitchLightingOn(rig, 0);
         return &rig.window;
     },
     130},
    {"MainWindowWithCustomKeyColours",
     [](WindowRig& rig) -> QWidget* {
         SwitchLightingOn(rig, -1);
         return &rig.window;
     },
     130},
    {"KeyEditorKeyPage", [](WindowRig& rig) { return OpenKeyEditorPage(rig, nullptr); }, 10},
    {"KeyEditorMacroPage",
     [](WindowRig& rig) {
         QWidget* editor = OpenKeyEditorPage(rig, "macroPage");
         QTest::mouseClick(editor->findChild<CPngButton*>("FUNC_MACRO_ADD"), Qt::LeftButton);
         return editor;
     },
     15},
    {"KeyEditorMediaPage", [](WindowRig& rig) { return OpenKeyEditorPage(rig, "mediaPage"); },
     8},
    {"KeyEditorFunctionPage",
     [](WindowRig& rig) { return OpenKeyEditorPage(rig, "functionPage"); }, 8},
    {"MacroEditor",
     [](WindowRig& rig) -> QWidget* {
         rig.window.RunCommand(MainControl::Macro);
         return &rig.window.KeyEditor();
     },
     10},
    {"ProfileDialog",
     [](WindowRig& rig) -> QWidget* {
         rig.window.RunCommand(MainControl::Profiles);
         return &rig.window.ProfileDialog();
     },
     7},
    {"AboutBox",
     [](WindowRig& rig) -> QWidget* {
         rig.window.ShowAboutBox();
         return rig.window.About();
     },
     2},
    {"TrayMenu",
     [](WindowRig& rig) -> QWidget* {
         QMenu& menu = rig.window.Tray().Menu();
         menu.popup(QPoint(10, 10));
         return &menu;
     },
     3},
};

class AccessibilityTreeTest : public testing::TestWithParam<WindowCase> {};

TEST_P(AccessibilityTreeTest, EveryControlHasARoleAndAName) {
    WindowRig rig;
    rig.StartConnected();
    QWidget* window = GetParam().open(rig);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return window->isVisible(); }));

    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(root->text(QAccessible::Name).isEmpty()) << "the window has no title";
    Walk walk;
    WalkTree(root, walk);
    EXPECT_GE(walk.interactive, GetParam().leastInteractive);
    for (const std::string& problem : walk.problems) {
        ADD_FAILURE() << problem;
    }
    if (auto* menu = qobject_cast<QMenu*>(window)) {
        menu->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, AccessibilityTreeTest, testing::ValuesIn(kWindows),
                         [](const testing::TestParamInfo<WindowCase>& param) {
                             return std::string(param.param.name);
                         });

QString NameOf(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

int ControlOfKeyCode(KeyCode code) {
    for (const KeyButton& key : KeyButtons()) {
        if (key.keyCode == code) {
            return key.controlId;
        }
    }
    return 0;
}

TEST(AccessibleStateTest, KeyButtonsSayWhatTheKeyDoesNow) {
    constexpr KeyCode kCapsLock = 0x3A;
    constexpr KeyCode kLeftCtrlCode = 0x1D;
    WindowRig rig;
    rig.StartConnected();
    CPngButton* caps = rig.window.Keys().Button(ControlOfKeyCode(kCapsLock));
    ASSERT_NE(caps, nullptr);
    EXPECT_EQ(NameOf(caps), QStringLiteral("Caps Lock"));

    {
        const std::lock_guard lock(rig.core.Working().Lock());
        KeyAssignment remapped;
        remapped.type = static_cast<uint16_t>(AssignmentType::Key);
        remapped.value = kLeftCtrlCode;
        rig.core.Working().SetAssignment(KeyRecordNumber(0, SlotOfKeyCode(kCapsLock)), remapped);
    }
    rig.window.ShowAssignments();
    EXPECT_EQ(NameOf(caps), QStringLiteral("Caps Lock, remapped to Left Ctrl"));
}

TEST(AccessibleStateTest, ChoicesAndTogglesReportWhetherTheyAreOn) {
    WindowRig rig(1);
    rig.StartConnected();
    const auto checked = [](QWidget* control) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
        return node->state().checkable && node->state().checked;
    };
    EXPECT_EQ(QAccessible::queryAccessibleInterface(rig.window.Button(MainControl::Profile2))
                  ->role(),
              QAccessible::RadioButton);
    EXPECT_TRUE(checked(rig.window.Button(MainControl::Profile2)));
    EXPECT_FALSE(checked(rig.window.Button(MainControl::Profile1)));

    QWidget* lightingSwitch = rig.window.Panel().Control(LightingControl::LightingSwitch);
    const bool on = rig.window.Panel().Lighting().LightingPanelOn();
    EXPECT_EQ(checked(lightingSwitch), on);
    QTest::mouseClick(lightingSwitch, Qt::LeftButton);
    EXPECT_EQ(checked(lightingSwitch), !on);
}

TEST(AccessibleStateTest, SlidersGiveTheirValueAndTakeOneFromAssistiveTechnology) {
    WindowRig rig;
    rig.StartConnected();
    SwitchLightingOn(rig, 0);
    QWidget* brightness = rig.window.Panel().Control(LightingControl::BrightnessSlider);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(brightness);
    ASSERT_EQ(node->role(), QAccessible::Slider);
    QAccessibleValueInterface* value = node->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), rig.window.Panel().Lighting().Brightness());

    const int wanted = value->currentValue().toInt() == 1 ? 2 : 1;
    value->setCurrentValue(wanted);
    ASSERT_TRUE(WaitUntil([&] { return rig.window.Panel().Lighting().Brightness() == wanted; }));
    EXPECT_EQ(value->currentValue().toInt(), wanted);
}

// ---- keyboard-only use ----

// A key as the keyboard sends it: its Qt key and its Linux key code.
struct KeyStroke {
    Qt::Key key;
    quint32 evdev;
};
constexpr KeyStroke kTab{Qt::Key_Tab, 15};
constexpr KeyStroke kEnter{Qt::Key_Return, 28};
constexpr KeyStroke kSpace{Qt::Key_Space, 57};
constexpr KeyStroke kEscape{Qt::Key_Escape, 1};
constexpr KeyStroke kUp{Qt::Key_Up, 103};
constexpr KeyStroke kDown{Qt::Key_Down, 108};
constexpr KeyStroke kLeft{Qt::Key_Left, 105};
constexpr KeyStroke kRight{Qt::Key_Right, 106};
constexpr KeyStroke kLeftCtrl{Qt::Key_Control, 29};

// Where the keyboard's events go: the widget that grabbed it, else the focus, else the active
// window.
QWidget* KeyboardTarget() {
    if (QWidget* grabber = QWidget::keyboardGrabber()) {
        return grabber;
    }
    if (QWidget* focus = QApplication::focusWidget()) {
        return focus;
    }
    return QApplication::activeWindow();
}

void Press(const KeyStroke& stroke) {
    QWidget* target = KeyboardTarget();
    ASSERT_NE(target, nullptr);
    // X11's key codes are Linux's plus 8.
    QKeyEvent press(QEvent::KeyPress, stroke.key, Qt::NoModifier, stroke.evdev + 8, 0, 0);
    QApplication::sendEvent(target, &press);
    // A key that closed the last window has no one left to hear its release.
    target = KeyboardTarget();
    if (target == nullptr) {
        QApplication::processEvents();
        return;
    }
    QKeyEvent release(QEvent::KeyRelease, stroke.key, Qt::NoModifier, stroke.evdev + 8, 0, 0);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

// Tab until `target` has the focus, at most once round every control.
bool TabTo(const QWidget* target) {
    for (int step = 0; step < 80; ++step) {
        if (QApplication::focusWidget() == target) {
            return true;
        }
        Press(kTab);
    }
    return QApplication::focusWidget() == target;
}

// The window manager's part: the window the user returns to is active again.
void ActivateWindow(QWidget& window) {
    window.activateWindow();
    WaitUntil([&] { return QApplication::activeWindow() == &window; });
}

TEST(KeyboardOnlyTest, AssignsLeftCtrlToCapsLockAppliesItAndSwitchesProfile) {
    constexpr KeyCode kCapsLock = 0x3A;
    constexpr KeyCode kLeftCtrlCode = 0x1D;
    WindowRig rig;
    rig.StartConnected();
    ActivateWindow(rig.window);

    // Tab reaches the keyboard once; the arrows go from key to key.
    const std::vector<QWidget*> keys = rig.window.Keys().KeyWidgets();
    for (int step = 0; step < 80 && !std::ranges::count(keys, QApplication::focusWidget()); ++step) {
        Press(kTab);
    }
    ASSERT_TRUE(std::ranges::count(keys, QApplication::focusWidget()));
    CPngButton* caps = rig.window.Keys().Button(ControlOfKeyCode(kCapsLock));
    for (int step = 0; step < 40 && QApplication::focusWidget() != caps; ++step) {
        const QWidget* at = QApplication::focusWidget();
        const QPoint here = at->geometry().center();
        const QPoint there = caps->geometry().center();
        if (std::abs(there.y() - here.y()) > at->height() / 2) {
            Press(there.y() < here.y() ? kUp : kDown);
        } else {
            Press(there.x() < here.x() ? kLeft : kRight);
        }
    }
    ASSERT_EQ(QApplication::focusWidget(), caps);

    // Enter opens the editor, which waits for the key to assign.
    Press(kEnter);
    Zarvin_DlgComposite& editor = rig.window.KeyEditor();
    ASSERT_TRUE(editor.IsOpen());
    ASSERT_TRUE(WaitUntil([&] { return editor.isVisible(); }));
    Press(kLeftCtrl);
    ASSERT_TRUE(TabTo(editor.findChild<CPngButton*>(QStringLiteral("ok"))));
    Press(kEnter);
    ASSERT_FALSE(editor.IsOpen());

    ActivateWindow(rig.window);
    ASSERT_TRUE(TabTo(rig.window.Button(MainControl::Apply)));
    Press(kEnter);
    const KeyAssignment onKeyboard = rig.OnKeyboard(0, SlotOfKeyCode(kCapsLock));
    EXPECT_EQ(onKeyboard.type, static_cast<uint16_t>(AssignmentType::Key));
    EXPECT_EQ(onKeyboard.value, kLeftCtrlCode);
    EXPECT_FALSE(rig.window.HasPendingChanges());

    ASSERT_TRUE(TabTo(rig.window.Button(MainControl::Profile2)));
    Press(kSpace);
    EXPECT_TRUE(WaitUntil([&] { return rig.KeyboardProfile() == 1; }));
    EXPECT_TRUE(rig.ProfileButtonSelected(1));
}

TEST(KeyboardOnlyTest, EscapeClosesTheDialogsAndNeverTheMainWindow) {
    WindowRig rig;
    rig.StartConnected();
    ActivateWindow(rig.window);
    ASSERT_TRUE(TabTo(rig.window.Button(MainControl::Apply)->isEnabled()
                          ? rig.window.Button(MainControl::Apply)
                          : rig.window.Button(MainControl::Profile1)));
    Press(kEscape);
    Press(kEnter);
    EXPECT_TRUE(rig.window.isVisible());

    rig.window.RunCommand(MainControl::Profiles);
    ASSERT_TRUE(rig.window.ProfileDialog().IsOpen());
    ActivateWindow(rig.window.ProfileDialog());
    Press(kEscape);
    EXPECT_FALSE(rig.window.ProfileDialog().IsOpen());

    // The key editor first takes Escape as the key to assign; then Escape closes it.
    ActivateWindow(rig.window);
    rig.window.OnKeyClicked(test_support::kKeyA);
    Zarvin_DlgComposite& editor = rig.window.KeyEditor();
    ASSERT_TRUE(WaitUntil([&] { return editor.isVisible(); }));
    Press(kEscape);
    EXPECT_TRUE(editor.IsOpen());
    EXPECT_TRUE(editor.Changed());
    Press(kEscape);
    EXPECT_FALSE(editor.IsOpen());
    EXPECT_EQ(rig.Working(0, test_support::kSlotA).type,
              static_cast<uint16_t>(AssignmentType::Default));
    EXPECT_TRUE(rig.window.isVisible());
}

}  // namespace
}  // namespace zarvin
