// The status line shows a sentence too long for its two lines shortened, the file name first,
// so that the sentence's end (what to do next) stays in view, and keeps it whole for the tool
// tip and the screen reader.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QString>
#include <QWidget>
#include <ostream>

#include "app/StatusLine.h"
#include "support/QtTestApplication.h"

namespace zarvin {
namespace {

const QString kEllipsis(QChar(0x2026));

struct StatusCase {
    const char* name;
    QString text;
    QString argument;
    bool shownWhole;
};

void PrintTo(const StatusCase& c, std::ostream* out) {
    *out << c.name;
}

class StatusLineFit : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusLineFit, ShowsWhatFitsAndKeepsTheWholeSentence) {
    const StatusCase& c = GetParam();
    QWidget window;
    StatusLine line(&window);
    // The footer's room: two lines of the line's small font.
    line.setGeometry(0, 0, 260, 2 * line.fontMetrics().lineSpacing() + 2);
    line.Say(c.text, c.argument);

    QString whole = c.text;
    whole.replace(QStringLiteral("%s"), c.argument);
    EXPECT_EQ(line.Said(), whole);
    EXPECT_EQ(line.toolTip(), whole);
    EXPECT_EQ(line.accessibleName(), whole);

    const QString shown = line.text();
    const QRect room = line.contentsRect();
    const QRect needed = line.fontMetrics().boundingRect(room, Qt::TextWordWrap, shown);
    EXPECT_LE(needed.height(), room.height()) << shown.toStdString();
    EXPECT_LE(needed.width(), room.width()) << shown.toStdString();
    if (c.shownWhole) {
        EXPECT_EQ(shown, whole);
        return;
    }
    EXPECT_NE(shown, whole);
    EXPECT_TRUE(shown.contains(kEllipsis)) << shown.toStdString();
    if (!c.argument.isEmpty()) {
        // The name loses its middle; the words around it and both of its ends stay.
        const qsizetype at = c.text.indexOf(QStringLiteral("%s"));
        EXPECT_TRUE(shown.startsWith(c.text.left(at))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(c.text.mid(at + 2))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(c.argument.left(3))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(c.argument.right(4))) << shown.toStdString();
    } else {
        EXPECT_TRUE(shown.endsWith(kEllipsis)) << shown.toStdString();
        EXPECT_TRUE(whole.startsWith(shown.chopped(1).trimmed())) << shown.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, StatusLineFit,
    testing::Values(
        StatusCase{"Short", QStringLiteral("Changes written to the keyboard."), {}, true},
        StatusCase{"ShortFileName", QStringLiteral("Backup saved: %s"),
                   QStringLiteral("mine.fwc"), true},
        StatusCase{"LongFileName",
                   QStringLiteral("Backup %s read; the keyboard did not take it. Apply again."),
                   QStringLiteral("keyboard-backup-before-the-long-holiday-with-every-macro-and-"
                                  "all-three-profiles-2026-12-11.fwc"),
                   false},
        StatusCase{"LongSentence",
                   QStringLiteral("Nicht geschrieben: Die Tastatur antwortet nicht, und die "
                                  "Änderungen bleiben hier erhalten, bis Sie erneut übernehmen, "
                                  "nachdem die Tastatur wieder eingesteckt ist."),
                   {}, false},
        StatusCase{"LongSentenceWithoutSpaces",
                   QStringLiteral("書き込まれませんでした：キーボードが応答しません。変更は保持されて"
                                  "います。キーボードを接続し直してから、もう一度適用してください。"
                                  "それでも応答しない場合は、別のUSBポートに接続してください。"),
                   {}, false}),
    [](const testing::TestParamInfo<StatusCase>& param) { return param.param.name; });

}  // namespace
}  // namespace zarvin
