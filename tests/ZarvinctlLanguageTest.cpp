#include <gtest/gtest.h>

#include <string>

#include "support/TempFolder.h"
#include "support/ZarvinctlRun.h"

namespace zarvin {
namespace {

using test::ProgramRun;
using test::RunZarvinctl;

bool Has(const ProgramRun& run, const std::string& text) {
    return run.output.find(text) != std::string::npos;
}

// The usage, a command's help and the error for a wrong argument in the chosen language; what
// scripts read (--json, exit codes) stays as it is.
TEST(ZarvinctlLanguage, HelpAndArgumentErrorsSpeakTheChosenLanguage) {
    const test::TempFolder home;
    const ProgramRun german = RunZarvinctl(home, "--language de --help");
    EXPECT_EQ(german.status, 0);
    EXPECT_TRUE(Has(german, "Aufruf: zarvinctl [--simulate")) << german.output;
    EXPECT_TRUE(Has(german, "\nBefehle:\n  list ")) << german.output;
    EXPECT_TRUE(Has(german, "\nOptionen:\n  --simulate[=MODEL]  die simulierte Tastatur")) << german.output;

    const ProgramRun japanese = RunZarvinctl(home, "help remap --language=ja");
    EXPECT_EQ(japanese.status, 0);
    EXPECT_EQ(japanese.output.rfind("使い方: zarvinctl [OPTIONS] remap KEY TARGET\n\n", 0), 0u)
        << japanese.output;
    EXPECT_TRUE(Has(japanese, "\n例:\n  zarvinctl remap CapsLock LeftCtrl\n")) << japanese.output;

    const ProgramRun wrong = RunZarvinctl(home, "--simulate --language ja lighting set speed=9");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.output,
              "zarvinctl: '9' は speed の値として使えません。speed に指定できるのは 0～5 です\n"
              "詳しくは 'zarvinctl --help' を実行してください。\n");

    // An earlier wrong option does not hide the language.
    const ProgramRun early = RunZarvinctl(home, "--profile 9 --language de keys");
    EXPECT_EQ(early.status, 2);
    EXPECT_TRUE(Has(early, "'9' ist kein Profil")) << early.output;

    const ProgramRun json =
        RunZarvinctl(home, "--simulate --language de --json lighting set speed=9");
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(json.output, "{\"error\":\"'9' is not a value for speed; speed takes 0 to 5\"}\n");
}

// What a command says about the keyboard and files, too; --json keeps English.
TEST(ZarvinctlLanguage, ResultsAndFailuresSpeakTheChosenLanguage) {
    const test::TempFolder home;
    const ProgramRun missing = RunZarvinctl(home, "--simulate --language ja restore /nonexistent.fwc");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output,
              "zarvinctl: ファイルがありません: /nonexistent.fwc\n"
              "zarvinctl: キーボードには何も書き込まれていません\n");
    const ProgramRun json = RunZarvinctl(home, "--simulate --language ja --json restore /nonexistent.fwc");
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(Has(json, "\"no such file: /nonexistent.fwc")) << json.output;

    const ProgramRun remapped = RunZarvinctl(home, "--simulate --language de remap CapsLock Nope");
    EXPECT_EQ(remapped.status, 2);
    EXPECT_TRUE(Has(remapped, "unbekanntes Ziel 'Nope'")) << remapped.output;
    const ProgramRun reset = RunZarvinctl(home, "--simulate --language ru reset CapsLock");
    EXPECT_EQ(reset.status, 0);
    EXPECT_EQ(reset.output.rfind("профиль 1: ", 0), 0u) << reset.output;
}

// Without --language the command line speaks the language kept for the window and itself.
TEST(ZarvinctlLanguage, TheKeptLanguageWordsTheErrors) {
    const test::TempFolder home;
    EXPECT_EQ(RunZarvinctl(home, "--simulate profile 7").output,
              "zarvinctl: '7' is not a profile; the profiles are numbered 1 to 3\n"
              "Try 'zarvinctl --help'.\n");
    ASSERT_EQ(RunZarvinctl(home, "language zh_CN").status, 0);
    const ProgramRun chinese = RunZarvinctl(home, "--simulate profile 7");
    EXPECT_EQ(chinese.status, 2);
    EXPECT_EQ(chinese.output,
              "zarvinctl: '7' 不是配置；配置编号为 1 到 3\n"
              "请运行 'zarvinctl --help' 了解更多信息。\n");
    EXPECT_TRUE(Has(RunZarvinctl(home, "--help"), "\n命令：\n")) << "usage in the kept language";
}

}  // namespace
}  // namespace zarvin
