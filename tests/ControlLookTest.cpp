#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/LightingPanelView.h"
#include "app/TrayIcon.h"
#include "app/ZarvinDlg.h"
#include "control/LightingPanel.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "skin/ColourSchemeLook.h"
#include "skin/PngButton.h"
#include "support/QtTestApplication.h"
#include "support/WindowRig.h"

// The plain controls' look is given window by window and field by field, not to the whole
// application: every plain control of every window must still get it, and the main window's
// skinned widgets must stay out of it.

namespace zarvin {
namespace {

using test_support::WindowRig;

struct SchemeCase {
    ColourScheme scheme;
    QColor field;
    QColor popup;
};

const SchemeCase kSchemes[] = {
    {ColourScheme::Dark, QColor(0x14, 0x16, 0x1a), QColor(0x1b, 0x1e, 0x24)},
    {ColourScheme::Light, QColor(0xff, 0xff, 0xff), QColor(0xf7, 0xf8, 0xfa)}};

struct WindowCase {
    const char* name;
    std::function<QWidget*(WindowRig&)> open;
};

const WindowCase kWindows[] = {
    {"MainWindow", [](WindowRig& rig) -> QWidget* { return &rig.window; }},
    {"KeyEditor",
     [](WindowRig& rig) -> QWidget* {
         rig.window.OnKeyClicked(test_support::kKeyA);
         return &rig.window.KeyEditor();
     }},
    {"MacroEditor",
     [](WindowRig& rig) -> QWidget* {
         rig.window.RunCommand(MainControl::Macro);
         return &rig.window.KeyEditor();
     }},
    {"ProfileDialog",
     [](WindowRig& rig) -> QWidget* {
         rig.window.RunCommand(MainControl::Profiles);
         return &rig.window.ProfileDialog();
     }},
};

// The edit boxes, drop-downs and lists in `window` (not their headers, nor the lists inside
// drop-downs).
std::vector<QWidget*> Fields(QWidget& window) {
    std::vector<QWidget*> fields;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        const bool field = qobject_cast<QLineEdit*>(child) != nullptr ||
                           qobject_cast<QComboBox*>(child) != nullptr ||
                           (qobject_cast<QAbstractItemView*>(child) != nullptr &&
                            qobject_cast<QHeaderView*>(child) == nullptr);
        const bool insideDropDown = qobject_cast<QComboBox*>(child->parentWidget()) != nullptr ||
                                    child->window() != &window;
        if (field && !insideDropDown) {
            fields.push_back(child);
        }
    }
    return fields;
}

TEST(ControlLookTest, EveryFieldOfEveryWindowIsInTheSchemesFieldColour) {
    for (const SchemeCase& scheme : kSchemes) {
        UseColourScheme(scheme.scheme);
        for (const WindowCase& window : kWindows) {
            SCOPED_TRACE(window.name);
            WindowRig rig;
            rig.StartConnected();
            QWidget* opened = window.open(rig);
            ASSERT_TRUE(test_support::WaitUntil([&] { return opened->isVisible(); }));
            const std::vector<QWidget*> fields = Fields(*opened);
            EXPECT_GE(fields.size(), 1u);
            for (QWidget* field : fields) {
                field->ensurePolished();
                EXPECT_EQ(field->palette().color(QPalette::Base), scheme.field)
                    << field->metaObject()->className() << " " << field->objectName().toStdString();
            }
        }
    }
}

TEST(ControlLookTest, PlainWindowsAndMenusAreInTheSchemesPopUpColour) {
    for (const SchemeCase& scheme : kSchemes) {
        UseColourScheme(scheme.scheme);
        WindowRig rig;
        rig.StartConnected();
        rig.window.ShowAboutBox();
        QWidget* about = rig.window.About();
        QMenu& tray = rig.window.Tray().Menu();
        tray.popup(QPoint(10, 10));
        auto* effects = qobject_cast<QComboBox*>(rig.window.Panel().EffectCombo());
        ASSERT_NE(effects, nullptr);
        for (QWidget* window :
             {about, static_cast<QWidget*>(&tray), effects->view()->parentWidget()}) {
            window->ensurePolished();
            EXPECT_EQ(window->palette().color(QPalette::Window), scheme.popup)
                << window->metaObject()->className();
        }
        tray.hide();
    }
}

// Qt keeps render rules, a palette and a font for every widget a sheet reaches; the main
// window's skinned widgets and its closed dialogs need none.
TEST(ControlLookTest, TheSheetReachesNoSkinnedWidgetOfTheMainWindow) {
    UseColourScheme(ColourScheme::Dark);
    WindowRig rig;
    rig.StartConnected();
    int skinned = 0;
    for (QWidget* child : rig.window.findChildren<QWidget*>()) {
        bool inField = false;
        for (QWidget* up = child; up != nullptr && !inField; up = up->parentWidget()) {
            inField =
                qobject_cast<QLineEdit*>(up) != nullptr || qobject_cast<QComboBox*>(up) != nullptr;
        }
        if (!inField) {
            ++skinned;
            EXPECT_FALSE(child->testAttribute(Qt::WA_StyleSheet))
                << child->metaObject()->className() << " " << child->objectName().toStdString();
        }
    }
    EXPECT_GT(skinned, 150);
}

// A skinned button carries no sheet, a field does: their tips must still look alike.
TEST(ControlLookTest, ATipLooksTheSameOverASkinnedButtonAndOverAField) {
    for (const SchemeCase& scheme : kSchemes) {
        UseColourScheme(scheme.scheme);
        WindowRig rig;
        rig.StartConnected();
        const auto tipOver = [](QWidget* widget) {
            QToolTip::showText(widget->mapToGlobal(QPoint(2, 2)), QStringLiteral("Help"), widget);
            QImage picture;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->windowType() == Qt::ToolTip && top->isVisible()) {
                    picture = top->grab().toImage();
                }
            }
            QToolTip::hideText();
            // The tip is deleted once hidden, so the next one takes its own widget's style.
            QTest::qWait(50);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return picture;
        };
        const QImage overButton = tipOver(rig.window.Button(MainControl::Menu));
        const QImage overField = tipOver(rig.window.Panel().Control(LightingControl::RedEdit));
        ASSERT_FALSE(overButton.isNull());
        EXPECT_EQ(overButton, overField);
        EXPECT_EQ(overButton.pixelColor(overButton.width() / 2, 1).rgb(), scheme.popup.rgb());
    }
}

}  // namespace
}  // namespace zarvin
