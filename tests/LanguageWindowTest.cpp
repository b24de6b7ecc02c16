// The windows in another language: every caption, tooltip and spoken name comes from that
// language's file, and the choice is kept for the next start.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <set>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/TrayIcon.h"
#include "app/ZarvinDlg.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "model/TextKeys.h"
#include "skin/PngButton.h"
#include "store/IniFile.h"
#include "store/LanguageChoice.h"
#include "store/LanguageTexts.h"
#include "support/QtTestApplication.h"
#include "support/WindowRig.h"

namespace zarvin {
namespace {

namespace fs = std::filesystem;
using test_support::WaitUntil;
using test_support::WindowRig;

// The English texts that `language` says in its own words, whole texts only (a template's
// filled text cannot be matched). One of them on the screen is English left behind.
std::set<QString> EnglishOnlyTexts(const fs::path& programFolder, int language) {
    const fs::path english = LanguageFilePath(programFolder, kEnglishLanguage);
    const fs::path other =
        LanguageFilePath(programFolder, SupportedLanguages[static_cast<size_t>(language)]);
    std::set<QString> englishOnly;
    std::set<QString> otherTexts;
    for (const std::string_view section : {"TEXT", "LIGHT", "MODE"}) {
        for (const std::string& key : ReadIniKeys(english, section)) {
            const std::string inEnglish = ReadIniString(english, section, key, "");
            const std::string inOther = ReadIniString(other, section, key, "");
            otherTexts.insert(QString::fromStdString(inOther));
            if (inEnglish != inOther && inEnglish.find('%') == std::string::npos) {
                englishOnly.insert(QString::fromStdString(inEnglish));
            }
        }
    }
    // A word both languages use for different things is not English left behind.
    for (const QString& text : otherTexts) {
        englishOnly.erase(text);
    }
    return englishOnly;
}

// Every text a person sees or hears from `window` and the widgets in it: titles, captions,
// tooltips, spoken names, list entries and column headings.
std::vector<std::pair<QString, QString>> ShownTexts(QWidget& window) {
    std::vector<std::pair<QString, QString>> shown;
    const auto add = [&](QWidget* widget, const QString& text) {
        if (!text.isEmpty()) {
            shown.emplace_back(QString::fromLatin1(widget->metaObject()->className()) + " '" +
                                   widget->objectName() + "'",
                               text);
        }
    };
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        add(widget, widget->windowTitle());
        add(widget, widget->toolTip());
        add(widget, widget->accessibleName());
        if (QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget)) {
            add(widget, node->text(QAccessible::Name));
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            add(widget, label->text());
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            add(widget, button->text());
        }
        // An editable list holds names the owner gives (user modes, macros), not captions.
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && !combo->isEditable()) {
            for (int i = 0; i < combo->count(); ++i) {
                add(widget, combo->itemText(i));
            }
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            for (int column = 0; column < tree->columnCount(); ++column) {
                add(widget, tree->headerItem()->text(column));
            }
        }
        for (const QAction* action : widget->actions()) {
            add(widget, action->text());
        }
    }
    return shown;
}

void ExpectNoEnglish(QWidget& window, const std::set<QString>& englishOnly) {
    const std::vector<std::pair<QString, QString>> shown = ShownTexts(window);
    EXPECT_GE(shown.size(), 3u) << "nothing was read from the window";
    for (const auto& [where, text] : shown) {
        EXPECT_FALSE(englishOnly.contains(text))
            << where.toStdString() << " shows English: " << text.toStdString();
    }
}

class LanguageWindowTest : public testing::TestWithParam<const char*> {};

TEST_P(LanguageWindowTest, EveryWindowSpeaksTheChosenLanguage) {
    const int language = *LanguageIndexOfName(GetParam());
    WindowRig rig;
    rig.StartConnected();
    rig.window.ChooseLanguage(language);
    const std::set<QString> englishOnly =
        EnglishOnlyTexts(rig.context.programFolder, language);
    ASSERT_GT(englishOnly.size(), 200u);

    {
        SCOPED_TRACE("main window");
        EXPECT_EQ(rig.window.windowTitle().toStdString(), rig.Text(text_keys::MAIN_CAPTION));
        ExpectNoEnglish(rig.window, englishOnly);
    }
    {
        SCOPED_TRACE("key editor");
        rig.window.OnKeyClicked(test_support::kKeyA);
        Zarvin_DlgComposite& editor = rig.window.KeyEditor();
        ASSERT_TRUE(WaitUntil([&] { return editor.isVisible(); }));
        QTest::mouseClick(editor.findChild<CPngButton*>(QStringLiteral("macroPage")),
                          Qt::LeftButton);
        ExpectNoEnglish(editor, englishOnly);
        editor.reject();
    }
    {
        SCOPED_TRACE("profile dialog");
        rig.window.RunCommand(MainControl::Profiles);
        ExpectNoEnglish(rig.window.ProfileDialog(), englishOnly);
        rig.window.ProfileDialog().reject();
    }
    {
        SCOPED_TRACE("about box and tray menu");
        rig.window.ShowAboutBox();
        ExpectNoEnglish(*rig.window.About(), englishOnly);
        QMenu& menu = rig.window.Tray().Menu();
        menu.popup(QPoint(10, 10));
        ExpectNoEnglish(menu, englishOnly);
        menu.hide();
    }
    // The choice is kept for the next start.
    EXPECT_EQ(rig.core.UserSettings().GetLanguageIndex(), language);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageWindowTest, testing::Values("de", "ja"));

// Qt's own words (the file and colour dialogs, the message boxes' standard buttons) follow the
// chosen language, and back.
TEST(LanguageWindowQtWordsTest, QtsOwnDialogsSpeakTheChosenLanguage) {
    WindowRig rig;
    rig.StartConnected();
    const auto cancelCaption = [] {
        const QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    };
    const struct {
        const char* language;
        QString cancel;
    } cases[] = {
        {"de", QStringLiteral("Abbrechen")},
        {"ja", QStringLiteral("キャンセル")},
        {"en", QStringLiteral("Cancel")},
    };
    for (const auto& c : cases) {
        rig.window.ChooseLanguage(*LanguageIndexOfName(c.language));
        EXPECT_EQ(cancelCaption().remove(QLatin1Char('&')), c.cancel) << c.language;
    }
}

// With no language kept yet, the window starts in the system's language and keeps it.
TEST(LanguageWindowStartTest, FirstStartFollowsTheSystemLanguage) {
    constexpr uint16_t kAustrianGerman = 0x0C07;
    WindowRig rig(0, kAustrianGerman);
    rig.StartConnected();
    EXPECT_EQ(rig.core.LanguageIndex(), *LanguageIndexOfName("de"));
    EXPECT_EQ(rig.window.windowTitle(), QStringLiteral("Mechanische Tastatur Morvane VX77HUE"));
    EXPECT_EQ(rig.window.Button(MainControl::Apply)->text(), QStringLiteral("Übernehmen"));
    EXPECT_EQ(rig.core.UserSettings().GetLanguageId(), 0x0407u);
}

}  // namespace
}  // namespace zarvin
