// The widget set: the bitmap slider's conversions, keys, wheel and reports; the report list's
// moves, single check, in-place editing and sorting; the colour button's look and picks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/BitmapSlider.h"
#include "skin/ComboBox4ListCtrl.h"
#include "skin/ReportCtrl.h"
#include "skin/SkinColorBtn.h"
#include "support/QtTestApplication.h"

namespace zarvin {
namespace {

// Lets posted events and deferred deletions run.
void RunPosted() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ---- CBitmapSlider ----

struct PixelCase {
    int position, minimum, maximum, width, pixel;
};

TEST(BitmapSliderConversion, PixelOfPositionTruncates) {
    const std::vector<PixelCase> cases = {
        {0, 0, 5, 100, 0},    {3, 0, 5, 100, 60}, {5, 0, 5, 100, 100},
        {1, 0, 5, 7, 1},      {4, 0, 5, 7, 5},  // 5.6 is cut, not rounded
        {15, 10, 20, 50, 25},                   // counted from the minimum
        {3, 3, 3, 100, 0},                      // empty range
    };
    for (const PixelCase& c : cases) {
        EXPECT_EQ(SliderPixelOfPosition(c.position, c.minimum, c.maximum, c.width), c.pixel)
            << "position " << c.position << " in " << c.minimum << ".." << c.maximum << ", width "
            << c.width;
    }
}

struct PositionCase {
    int x, minimum, maximum, width, position;
};

TEST(BitmapSliderConversion, PositionOfPixelAddsTenAndTruncatesTowardZero) {
    const std::vector<PositionCase> cases = {
        {0, 0, 5, 120, 0},    {14, 0, 5, 120, 1},    {13, 0, 5, 120, 0},
        {110, 0, 5, 120, 5},  {200, 0, 5, 120, 8},  // past the right edge: not clamped
        {-30, 0, 5, 120, 0},                        // -0.83 is cut toward zero
        {-40, 0, 5, 120, -1}, {40, 10, 20, 100, 15}, {5, 2, 7, 0, 2},  // no width: minimum
    };
    for (const PositionCase& c : cases) {
        EXPECT_EQ(SliderPositionOfPixel(c.x, c.minimum, c.maximum, c.width), c.position)
            << "x " << c.x << " in " << c.minimum << ".." << c.maximum << ", width " << c.width;
    }
}

class BitmapSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.SetRange(0, 10);
        slider.SetPageSize(3);
        slider.SetBitmap(QPixmap(100, 10));
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    // The (control id, position) pairs reported so far, once the posted ones have arrived.
    std::vector<std::pair<int, int>> Reports() {
        RunPosted();
        std::vector<std::pair<int, int>> reports;
        for (const QList<QVariant>& report : moved) {
            reports.emplace_back(report[0].toInt(), report[1].toInt());
        }
        moved.clear();
        return reports;
    }

    void Wheel(int delta) {
        const QPointF at(50, 5);
        QWheelEvent wheel(at, slider.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &wheel);
    }

    CBitmapSlider slider{1178};
    QSignalSpy moved{&slider, &CBitmapSlider::Moved};
};

using Reported = std::vector<std::pair<int, int>>;

TEST_F(BitmapSliderTest, KeysMoveClampAndPostThePosition) {
    struct KeyCase {
        Qt::Key key;
        int from, to;
    };
    const std::vector<KeyCase> cases = {
        {Qt::Key_PageUp, 5, 2},  {Qt::Key_PageDown, 5, 8}, {Qt::Key_Home, 5, 0},
        {Qt::Key_End, 5, 10},    {Qt::Key_Left, 5, 4},     {Qt::Key_Up, 5, 4},
        {Qt::Key_Right, 5, 6},   {Qt::Key_Down, 5, 6},     {Qt::Key_PageUp, 1, 0},
        {Qt::Key_Right, 10, 10},  // at the end: still reported
    };
    for (const KeyCase& c : cases) {
        slider.SetPosition(c.from);
        RunPosted();
        moved.clear();
        QTest::keyClick(&slider, c.key);
        EXPECT_TRUE(moved.isEmpty()) << "the report is posted, not sent";
        EXPECT_EQ(Reports(), (Reported{{1178, c.to}})) << "key " << c.key << " from " << c.from;
        EXPECT_EQ(slider.Position(), c.to);
    }
}

TEST_F(BitmapSliderTest, DraggingFollowsThePointerAndReleaseReports) {
    slider.SetRange(0, 5);
    slider.SetPosition(0);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(50, 5));  // (50 + 10) / 100 * 5
    QTest::mouseMove(&slider, QPoint(90, 5));                       // (90 + 10) / 100 * 5
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(90, 5));
    EXPECT_EQ(Reports(), (Reported{{1178, 3}, {1178, 5}, {1178, 5}}));

    QTest::mouseMove(&slider, QPoint(20, 5));
    EXPECT_TRUE(Reports().empty()) << "no drag without a pressed button";
    EXPECT_EQ(slider.Position(), 5);
}

TEST_F(BitmapSliderTest, WheelWorksFromAPressUntilThePointerLeaves) {
    slider.SetPosition(5);
    Wheel(120);
    EXPECT_TRUE(Reports().empty()) << "the wheel is not armed before a press";

    // A press on the position's own pixel does not move; the release still reports.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(50, 5));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(Reports(), (Reported{{1178, 5}}));

    Wheel(120);  // away from the user
    EXPECT_EQ(Reports(), (Reported{{1178, 4}}));
    Wheel(-120);  // towards the user
    EXPECT_EQ(Reports(), (Reported{{1178, 5}}));
    Wheel(60);  // half notches count once they make a whole one
    EXPECT_TRUE(Reports().empty());
    Wheel(60);
    EXPECT_EQ(Reports(), (Reported{{1178, 4}}));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&slider, &leave);
    Wheel(120);
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(slider.Position(), 4);
}

// ---- CReportCtrl ----

class ReportCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.AddColumn("key", 63);
        list.AddColumn("state", 63);
        list.AddColumn("delay", 63, Qt::AlignRight);
        const QStringList names = {"a", "b", "c", "d"};
        for (int row = 0; row < names.size(); ++row) {
            list.InsertItem(-1, {names[row], "down", QString::number(row * 10)}, row + 1);
        }
        list.resize(300, 200);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    // The first column's texts, "abcd" to begin with, and the data in the same order.
    std::string Order() const {
        std::string order;
        for (int row = 0; row < list.ItemCount(); ++row) {
            order += list.ItemText(row, 0).toStdString();
        }
        return order;
    }
    std::string DataOrder() const {
        std::string order;
        for (int row = 0; row < list.ItemCount(); ++row) {
            order += static_cast<char>('a' + list.ItemData(row).toInt() - 1);
        }
        return order;
    }

    QWidget* Editor(int row, int column) {
        return list.indexWidget(list.model()->index(row, column));
    }

    CReportCtrl list;
};

TEST_F(ReportCtrlTest, MovesCarryTextsDataCheckColourAndSelection) {
    struct MoveCase {
        const char* name;
        int row;
        std::function<int(CReportCtrl&)> move;
        int newRow;
        std::string order;
    };
    const std::vector<MoveCase> cases = {
        {"first row up", 0, [](CReportCtrl& l) { return l.MoveUp(0); }, 0, "abcd"},
        {"last row down", 3, [](CReportCtrl& l) { return l.MoveDown(3); }, 3, "abcd"},
        {"up one", 2, [](CReportCtrl& l) { return l.MoveUp(2); }, 1, "acbd"},
        {"down one", 1, [](CReportCtrl& l) { return l.MoveDown(1); }, 2, "acbd"},
        {"up two", 3, [](CReportCtrl& l) { return l.MoveUp(3, 2); }, 1, "adbc"},
        {"up past the top", 1, [](CReportCtrl& l) { return l.MoveUp(1, 5); }, 0, "bacd"},
        {"down past the bottom", 1, [](CReportCtrl& l) { return l.MoveDown(1, 5); }, 3, "acdb"},
        {"to the top", 2, [](CReportCtrl& l) { return l.MoveToTop(2); }, 0, "cabd"},
        {"to the bottom", 1, [](CReportCtrl& l) { return l.MoveToBottom(1); }, 3, "acdb"},
    };
    list.SetCheckboxStyle(CReportCtrl::CheckboxStyle::Normal);
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Back to a, b, c, d with nothing selected, checked or coloured.
        list.SortItems(0, true);
        for (int row = 0; row < list.ItemCount(); ++row) {
            list.SetItemChecked(row, false);
            list.SetItemTextColour(row, -1, QColor());
        }
        list.SelectItem(c.row);
        list.SetItemChecked(c.row, true);
        list.SetItemTextColour(c.row, 2, Qt::red);

        EXPECT_EQ(c.move(list), c.newRow);
        EXPECT_EQ(Order(), c.order);
        EXPECT_EQ(DataOrder(), c.order);
        EXPECT_EQ(list.NextItem(-1, CReportCtrl::RowState::Selected), c.newRow);
        EXPECT_EQ(list.NextItem(c.newRow, CReportCtrl::RowState::Selected), -1);
        EXPECT_EQ(list.NextItem(-1, CReportCtrl::RowState::Checked), c.newRow);
        EXPECT_EQ(list.NextItem(c.newRow, CReportCtrl::RowState::Checked), -1);
        EXPECT_EQ(list.topLevelItem(c.newRow)->foreground(2).color(), QColor(Qt::red));
    }
    list.SortItems(0, true);
    EXPECT_EQ(list.MoveUp(7), -1);
    EXPECT_EQ(Order(), "abcd");
}

TEST_F(ReportCtrlTest, DeletingSelectsTheNextRowOrThePreviousWhenTheLastGoes) {
    list.SelectItem(1);
    list.DeleteItem(1);
    EXPECT_EQ(Order(), "acd");
    EXPECT_EQ(list.NextItem(-1, CReportCtrl::RowState::Selected), 1);
    list.DeleteItem(2);
    EXPECT_EQ(Order(), "ac");
    EXPECT_EQ(list.NextItem(-1, CReportCtrl::RowState::Selected), 1);
}

TEST_F(ReportCtrlTest, SingleCheckUnchecksTheOtherRow) {
    std::vector<std::pair<int, bool>> changes;
    list.SetCheckChangedCallback(
        [&](int row, bool checked) { changes.emplace_back(row, checked); });

    list.SetCheckboxStyle(CReportCtrl::CheckboxStyle::Normal);
    list.SetItemChecked(0, true);
    list.topLevelItem(2)->setCheckState(0, Qt::Checked);  // as a click on the box does
    EXPECT_TRUE(list.IsItemChecked(0));
    EXPECT_TRUE(list.IsItemChecked(2)) << "without the option, several rows stay checked";
    list.SetItemChecked(0, false);
    list.SetItemChecked(2, false);
    changes.clear();

    list.SetCheckboxStyle(CReportCtrl::CheckboxStyle::Single);
    list.SetItemChecked(0, true);
    list.topLevelItem(2)->setCheckState(0, Qt::Checked);
    EXPECT_FALSE(list.IsItemChecked(0));
    EXPECT_TRUE(list.IsItemChecked(2));
    EXPECT_EQ(list.NextItem(-1, CReportCtrl::RowState::Checked), 2);
    EXPECT_EQ(changes, (std::vector<std::pair<int, bool>>{{0, true}, {0, false}, {2, true}}));

    list.SetItemText(2, 1, "up");
    EXPECT_EQ(changes.size(), 3u) << "a text change is no check change";
}

TEST_F(ReportCtrlTest, RefusedEditOpensNoEditor) {
    std::vector<std::pair<int, int>> asked;
    int ended = 0;
    list.SetBeforeEditCallback([&](int row, int column) {
        asked.emplace_back(row, column);
        return CReportCtrl::CellEditor::Refused();
    });
    list.SetEditEndCallback([&](const CReportCtrl::CellEdit&) { ++ended; });

    list.editItem(list.topLevelItem(0), 1);
    RunPosted();
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(Editor(0, 1), nullptr);
    EXPECT_EQ(ended, 0);
}

TEST_F(ReportCtrlTest, DigitsEditorTakesDigitsOnlyAndReportsHowTheEditEnded) {
    struct EndCase {
        Qt::Key key;
        bool accepted;
    };
    for (const EndCase& c : {EndCase{Qt::Key_Return, true}, EndCase{Qt::Key_Escape, false}}) {
        std::vector<CReportCtrl::CellEdit> ends;
        list.SetBeforeEditCallback([](int, int) { return CReportCtrl::CellEditor::DigitsBox(); });
        list.SetEditEndCallback([&](const CReportCtrl::CellEdit& edit) { ends.push_back(edit); });

        list.editItem(list.topLevelItem(1), 2);
        auto* box = qobject_cast<QLineEdit*>(Editor(1, 2));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "10");
        QTest::keyClicks(box, "12a3-b4");  // replaces the selected text
        EXPECT_EQ(box->text(), "1234");
        QTest::keyClick(box, c.key);
        RunPosted();

        ASSERT_EQ(ends.size(), 1u) << "key " << c.key;
        EXPECT_EQ(ends[0].row, 1);
        EXPECT_EQ(ends[0].column, 2);
        EXPECT_EQ(ends[0].text, "1234");
        EXPECT_EQ(ends[0].entry, -1);
        EXPECT_EQ(ends[0].accepted, c.accepted);
        EXPECT_EQ(list.ItemText(1, 2), "10") << "the owner sets the cell";
        EXPECT_EQ(Editor(1, 2), nullptr);
    }
}

TEST_F(ReportCtrlTest, DropDownEditorEndsWhenTheUserPicksAnEntry) {
    std::vector<CReportCtrl::CellEdit> ends;
    list.SetBeforeEditCallback([](int, int) {
        return CReportCtrl::CellEditor::DropDownList({"x", "y", "z"}, 1, 6);
    });
    list.SetEditEndCallback([&](const CReportCtrl::CellEdit& edit) { ends.push_back(edit); });

    list.editItem(list.topLevelItem(3), 0);
    auto* dropDown = qobject_cast<CComboBox4ListCtrl*>(Editor(3, 0));
    ASSERT_NE(dropDown, nullptr);
    EXPECT_EQ(dropDown->count(), 3);
    EXPECT_EQ(dropDown->currentIndex(), 1);
    EXPECT_EQ(dropDown->maxVisibleItems(), 6);

    dropDown->setCurrentIndex(2);
    emit dropDown->activated(2);
    EXPECT_TRUE(ends.empty()) << "the pick is posted";
    RunPosted();
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].row, 3);
    EXPECT_EQ(ends[0].column, 0);
    EXPECT_EQ(ends[0].text, "z");
    EXPECT_EQ(ends[0].entry, 2);
    EXPECT_TRUE(ends[0].accepted);
    EXPECT_EQ(Editor(3, 0), nullptr);
}

TEST_F(ReportCtrlTest, SortingKeepsEachRowsDataAndSelection) {
    // Texts in column 1 that sort differently as numbers and as text.
    const QStringList counts = {"10", "9", "100", "1"};
    for (int row = 0; row < 4; ++row) {
        list.SetItemText(row, 1, counts[row]);
    }
    struct SortCase {
        int column;
        bool ascending;
        bool byData;
        std::string order;
    };
    const std::vector<SortCase> cases = {
        {0, false, false, "dcba"},
        {0, true, false, "abcd"},
        {1, true, false, "dbac"},  // 1, 9, 10, 100
        {1, false, false, "cabd"},
        {0, true, true, "dcba"},  // the owner's comparison: data, highest first
    };
    for (const SortCase& c : cases) {
        list.SetCompareCallback(c.byData ? CReportCtrl::CompareCallback(
                                               [](const QVariant& first, const QVariant& second) {
                                                   return second.toInt() - first.toInt();
                                               })
                                         : nullptr);
        const int selectedData = list.ItemData(2).toInt();
        list.SelectItem(2);
        list.SortItems(c.column, c.ascending);
        EXPECT_EQ(Order(), c.order) << "column " << c.column;
        EXPECT_EQ(DataOrder(), c.order);
        EXPECT_EQ(list.ItemData(list.NextItem(-1, CReportCtrl::RowState::Selected)).toInt(),
                  selectedData);
    }
}

// ---- CComboBox4ListCtrl ----

class MessageRecorder : public QObject {
public:
    std::vector<std::tuple<unsigned, quintptr, qintptr>> messages;

protected:
    void customEvent(QEvent* event) override {
        if (event->type() == CComboBox4ListCtrl::PostedMessage::EventType()) {
            const auto* posted = static_cast<CComboBox4ListCtrl::PostedMessage*>(event);
            messages.emplace_back(posted->message, posted->wParam, posted->lParam);
        }
    }
};

TEST(ComboBox4ListCtrl, PostsTheStoredMessageWhenTheUserPicks) {
    CComboBox4ListCtrl dropDown;
    dropDown.addItems({"x", "y", "z"});
    QTest::keyClick(&dropDown, Qt::Key_Down);
    RunPosted();  // no target yet: nothing to post to

    auto recorder = std::make_unique<MessageRecorder>();
    dropDown.SetTarget(recorder.get(), 0x1234, 7, -3);
    dropDown.setCurrentIndex(0);
    RunPosted();
    EXPECT_TRUE(recorder->messages.empty()) << "the program's own change is not posted";

    QTest::keyClick(&dropDown, Qt::Key_Down);
    EXPECT_TRUE(recorder->messages.empty()) << "posted, not sent";
    RunPosted();
    using Message = std::tuple<unsigned, quintptr, qintptr>;
    EXPECT_EQ(recorder->messages, (std::vector<Message>{{0x1234u, 7u, -3}}));

    recorder.reset();
    QTest::keyClick(&dropDown, Qt::Key_Down);
    RunPosted();  // the target is gone: nothing is posted, nothing breaks
}

// ---- CSkinColorBtn ----

class SkinColorBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.resize(60, 20);
        button.EnableAutomaticButton("Automatic", QColor(1, 2, 3));
        button.EnableOtherButton("Other colours...");
        button.SetColour(QColor(200, 0, 0));
        button.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    }

    // Clicks the button and finds the popup's entry of that name.
    QToolButton* OpenPopupEntry(const QString& name) {
        QTest::mouseClick(&button, Qt::LeftButton);
        return button.findChild<QToolButton*>(name);
    }

    CSkinColorBtn button;
    QSignalSpy chosen{&button, &CSkinColorBtn::ColourChosen};
};

TEST_F(SkinColorBtnTest, DrawsSwatchGreyBoxAndTriangle) {
    const auto pixel = [this] { return button.grab().toImage(); };
    QImage image = pixel();
    // Swatch x 0-34, grey box x 33-59 drawn over it, triangle (49,8) (55,8) (52,11).
    EXPECT_EQ(image.pixelColor(5, 10), QColor(200, 0, 0));
    EXPECT_EQ(image.pixelColor(32, 10), QColor(200, 0, 0));
    EXPECT_EQ(image.pixelColor(33, 10), QColor(148, 146, 139));
    EXPECT_EQ(image.pixelColor(40, 3), QColor(148, 146, 139));
    EXPECT_EQ(image.pixelColor(52, 9), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(52, 14), QColor(148, 146, 139));

    button.SetColour(QColor());
    EXPECT_EQ(pixel().pixelColor(5, 10), QColor(1, 2, 3)) << "no colour: the automatic one";
    button.setEnabled(false);
    EXPECT_NE(pixel().pixelColor(5, 10), QColor(1, 2, 3)) << "a disabled swatch is not filled";
}

TEST_F(SkinColorBtnTest, AutomaticEntryReportsTheAutomaticColour) {
    QToolButton* automatic = OpenPopupEntry("automatic");
    ASSERT_NE(automatic, nullptr);
    EXPECT_EQ(automatic->text(), "Automatic");
    automatic->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].value<QColor>(), QColor(1, 2, 3));
    EXPECT_FALSE(button.Colour().isValid());
    EXPECT_EQ(button.ShownColour(), QColor(1, 2, 3));
}

TEST_F(SkinColorBtnTest, PickedColourIsReportedAndKept) {
    QToolButton* red = OpenPopupEntry("#ff0000");
    ASSERT_NE(red, nullptr);
    red->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(button.Colour(), QColor(255, 0, 0));

    button.SetColour(Qt::blue);
    EXPECT_EQ(chosen.count(), 1) << "the program's own colour is not reported";
}

TEST_F(SkinColorBtnTest, OtherEntryTakesTheColourDialogsAnswer) {
    QToolButton* other = OpenPopupEntry("other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), "Other colours...");
    // Answers the dialog as soon as it is up.
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            dialog->setCurrentColor(QColor(12, 34, 56));
            dialog->accept();
        }
    });
    answer.start();
    other->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].value<QColor>(), QColor(12, 34, 56));
}

}  // namespace
}  // namespace zarvin
