// The words on the windows' framed buttons, in every shipped language: each button writes its
// language's text (the skin's pictures carry none), screen readers hear that same text, and it
// fits its face, off the button's edges and its icon, however long the word.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QTest>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ZarvinDlg.h"
#include "dialogs/ZarvinDlgComposite.h"
#include "dialogs/ZarvinDlgProfile.h"
#include "model/TextKeys.h"
#include "skin/PngButton.h"
#include "store/LanguageChoice.h"
#include "store/LanguageTables.h"
#include "support/QtTestApplication.h"
#include "support/WindowRig.h"

namespace zarvin {
namespace {

using test_support::WaitUntil;
using test_support::WindowRig;

struct Caption {
    std::function<CPngButton*(WindowRig&)> button;
    std::string_view textKey;
};

struct CaptionWindow {
    const char* name;
    std::function<QWidget&(WindowRig&)> open;
    std::function<void(WindowRig&)> close;
    std::vector<Caption> captions;
};

std::function<CPngButton*(WindowRig&)> MainButton(int controlId) {
    return [controlId](WindowRig& rig) { return rig.window.Button(controlId); };
}

std::function<CPngButton*(WindowRig&)> EditorButton(const char* name) {
    return [name](WindowRig& rig) {
        return rig.window.KeyEditor().findChild<CPngButton*>(QString::fromLatin1(name));
    };
}

std::function<CPngButton*(WindowRig&)> ProfileButton(const char* name) {
    return [name](WindowRig& rig) {
        return rig.window.ProfileDialog().findChild<CPngButton*>(QString::fromLatin1(name));
    };
}

const std::vector<CaptionWindow>& Windows() {
    using namespace text_keys;
    static const std::vector<CaptionWindow> windows{
        {"main window",
         [](WindowRig& rig) -> QWidget& { return rig.window; },
         [](WindowRig&) {},
         {{MainButton(MainControl::Profile1), PROFILE_1},
          {MainButton(MainControl::Profile2), PROFILE_2},
          {MainButton(MainControl::Profile3), PROFILE_3},
          {MainButton(MainControl::Macro), PROFILE_MACRO},
          {MainButton(MainControl::Default), PROFILE_DEFAULT},
          {MainButton(MainControl::Ok), PROFILE_OK},
          {MainButton(MainControl::Cancel), PROFILE_CANCLE},
          {MainButton(MainControl::Apply), PROFILE_APPLY}}},
        {"key editor on its macro page",
         [](WindowRig& rig) -> QWidget& {
             rig.window.OnKeyClicked(test_support::kKeyA);
             QTest::mouseClick(EditorButton("macroPage")(rig), Qt::LeftButton);
             return rig.window.KeyEditor();
         },
         [](WindowRig& rig) { rig.window.KeyEditor().reject(); },
         {{EditorButton("keyPage"), SINGLE_KEY},
          {EditorButton("macroPage"), MACRO_SETTING},
          {EditorButton("mediaPage"), MULTI_MEDIA},
          {EditorButton("functionPage"), FUNCTION_KEY},
          {EditorButton("ok"), MACRO_OK},
          {EditorButton("cancel"), MACRO_CANCLE},
          {EditorButton("apply"), PROFILE_APPLY},
          {EditorButton("FUNC_MACRO_RECORD"), MACRO_ACTION_RECORD},
          {EditorButton("FUNC_MACRO_UP_TOP"), A_TOP},
          {EditorButton("FUNC_MACRO_UP"), A_UP},
          {EditorButton("FUNC_MACRO_DOWN"), A_DOWN},
          {EditorButton("FUNC_MACRO_DOWN_BOTTOM"), A_BOTTOM},
          {EditorButton("FUNC_MACRO_DELETE2"), A_DELETE},
          {EditorButton("FUNC_MACRO_CLEAR"), A_CLEAR}}},
        {"profile dialog",
         [](WindowRig& rig) -> QWidget& {
             rig.window.RunCommand(MainControl::Profiles);
             return rig.window.ProfileDialog();
         },
         [](WindowRig& rig) { rig.window.ProfileDialog().reject(); },
         {{ProfileButton("CONTROL_TITLE"), PROFILE_TIP},
          {ProfileButton("CONTROL_OK"), PROFILE_OK},
          {ProfileButton("CONTROL_CANCEL"), PROFILE_CANCLE},
          {ProfileButton("CONTROL2_APPLY"), PROFILE_APPLY},
          {ProfileButton("FUNC_ADD"), PROFILE_BUTTON_ADD},
          {ProfileButton("FUNC_LOAD"), PROFILE_BUTTON_LOAD},
          {ProfileButton("FUNC_DELETE"), PROFILE_BUTTON_REMOVE}}},
    };
    return windows;
}

// Where the button's words are drawn: the pixels that change when it has none.
QRect CaptionInk(CPngButton& button) {
    const QImage written = button.grab().toImage();
    const QString caption = button.text();
    button.setText(QString());
    const QImage bare = button.grab().toImage();
    button.setText(caption);
    QRect ink;
    for (int y = 0; y < written.height(); ++y) {
        for (int x = 0; x < written.width(); ++x) {
            if (written.pixel(x, y) != bare.pixel(x, y)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

class CaptionFitTest : public testing::TestWithParam<std::string_view> {};

TEST_P(CaptionFitTest, EveryButtonWritesItsLanguagesWordsInsideItsFace) {
    const int language = *LanguageIndexOfName(GetParam());
    WindowRig rig;
    rig.StartConnected();
    rig.window.ChooseLanguage(language);
    for (const CaptionWindow& window : Windows()) {
        SCOPED_TRACE(window.name);
        QWidget& shown = window.open(rig);
        ASSERT_TRUE(WaitUntil([&] { return shown.isVisible(); }));
        for (const Caption& caption : window.captions) {
            SCOPED_TRACE(caption.textKey);
            CPngButton* button = caption.button(rig);
            ASSERT_NE(button, nullptr);
            ASSERT_TRUE(button->isVisible());
            const QString words = QString::fromStdString(rig.Text(caption.textKey));
            EXPECT_EQ(button->text(), words);
            EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                      words);
            const QRect ink = CaptionInk(*button);
            ASSERT_TRUE(ink.isValid()) << "no words are drawn";
            const QRect room = button->rect().marginsRemoved(button->TextMargins());
            EXPECT_TRUE(room.contains(ink))
                << words.toStdString() << ": drawn at " << ink.x() << "," << ink.y() << " "
                << ink.width() << "x" << ink.height() << " in " << room.x() << "," << room.y()
                << " " << room.width() << "x" << room.height();
        }
        window.close(rig);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, CaptionFitTest, testing::ValuesIn(LanguageCodes),
                         [](const testing::TestParamInfo<std::string_view>& param) {
                             std::string name(param.param);
                             std::erase(name, '_');
                             return name;
                         });

}  // namespace
}  // namespace zarvin
