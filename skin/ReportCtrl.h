#pragma once

// CReportCtrl: the report list of the macro page (the recorded actions) and of the profile
// dialog (the profiles). Rows are selected whole, one at a time. Each row has one text per
// column, one data value and, when check boxes are on, a check mark in its first column.
//
// - Colours: a text and a background colour for a whole row or for one cell; an invalid colour
//   gives the cell back the list's own.
// - Check boxes: off, on, or on with at most one row checked (checking a row unchecks the one
//   that was checked). Every change of a row's check mark, by the user or the program, is
//   reported to the check callback, unchecks first.
// - Moves: a row moves up or down by n (stopping at the first or last row), to the top or to the
//   bottom; its texts, data, colours, check mark and selection go with it.
// - Sorting: by the owner's comparison of two rows' data when one is set, else by the column's
//   texts with numbers compared as numbers; rows that compare equal keep their order.
// - In-place editing, only while a before-edit callback is set (double click, a click on the
//   selected row, or F2): the callback decides, for the row and column, whether the cell is
//   edited and in what: a text box, a text box that takes digits only, or a drop-down list
//   (CComboBox4ListCtrl) with its entries, the entry shown first and the number of rows it opens
//   to. When the edit ends the edit-end callback receives what the editor held and whether the
//   user accepted it (Enter, leaving the editor, or picking an entry) or not (Escape). The list
//   does not change the cell itself: the owner sets the texts it wants.

#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <QVariant>
#include <functional>
#include <utility>
#include <vector>

namespace zarvin {

class ReportCellDelegate;

class CReportCtrl : public QTreeWidget {
    Q_OBJECT

public:
    enum class CheckboxStyle { None, Normal, Single };
    enum class RowState { Selected, Checked };

    // How a cell is to be edited; the owner's answer before an edit.
    struct CellEditor {
        enum class Kind { Refused, Text, Digits, DropDown };

        static CellEditor Refused() { return {}; }
        static CellEditor TextBox() { return {Kind::Text, {}, -1, 0}; }
        static CellEditor DigitsBox() { return {Kind::Digits, {}, -1, 0}; }
        static CellEditor DropDownList(QStringList entries, int current, int visibleRows) {
            return {Kind::DropDown, std::move(entries), current, visibleRows};
        }

        Kind kind = Kind::Refused;
        QStringList entries;
        int current = -1;
        int visibleRows = 0;  // 0: the drop-down's own default
    };

    // What an edit ended with. entry is the picked entry of a drop-down list, -1 for text boxes.
    struct CellEdit {
        int row = -1;
        int column = -1;
        QString text;
        int entry = -1;
        bool accepted = false;
    };

    // Negative when the row with data1 goes before the row with data2, positive when after.
    using CompareCallback = std::function<int(const QVariant& data1, const QVariant& data2)>;
    using BeforeEditCallback = std::function<CellEditor(int row, int column)>;
    using EditEndCallback = std::function<void(const CellEdit& edit)>;
    using CheckChangedCallback = std::function<void(int row, bool checked)>;

    explicit CReportCtrl(QWidget* parent = nullptr);

    // Appends a column; its cells take the alignment too. Returns its index.
    int AddColumn(const QString& header, int width, Qt::Alignment alignment = Qt::AlignLeft);

    // Inserts a row before `row`; a row outside the list appends. Returns the row's index.
    int InsertItem(int row, const QStringList& texts, const QVariant& value = {});
    void SetItemText(int row, int column, const QString& text);
    QString ItemText(int row, int column) const;
    void SetItemData(int row, const QVariant& value);
    QVariant ItemData(int row) const;
    int ItemCount() const { return topLevelItemCount(); }

    // The first row after `after` (-1: from the first row) in the state; -1 when there is none.
    int NextItem(int after, RowState state) const;

    // Selects the row alone, makes it the current row and scrolls it into view.
    void SelectItem(int row);
    // Deletes the row and selects the one that takes its place, or the new last row when the
    // last was deleted.
    void DeleteItem(int row);
    void DeleteAllItems();

    void SetGridLines(bool on);
    bool GridLines() const { return gridLines_; }
    // Switching to Single keeps only the first checked row checked.
    void SetCheckboxStyle(CheckboxStyle style);
    void SetItemChecked(int row, bool checked);
    bool IsItemChecked(int row) const;

    // column -1 colours the whole row.
    void SetItemTextColour(int row, int column, const QColor& colour);
    void SetItemBackground(int row, int column, const QColor& colour);

    // Each returns the row's new index (the same index when it cannot move); -1 for a row that
    // does not exist.
    int MoveUp(int row, int count = 1);
    int MoveDown(int row, int count = 1);
    int MoveToTop(int row);
    int MoveToBottom(int row);

    void SortItems(int column, bool ascending);

    void SetCompareCallback(CompareCallback callback) { compare_ = std::move(callback); }
    void SetBeforeEditCallback(BeforeEditCallback callback);
    void SetEditEndCallback(EditEndCallback callback) { editEnd_ = std::move(callback); }
    void SetCheckChangedCallback(CheckChangedCallback callback) {
        checkChanged_ = std::move(callback);
    }

protected:
    bool event(QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class ReportCellDelegate;

    struct OpenEdit {
        QPointer<QWidget> editor;
        int row = -1;
        int column = -1;
        bool ended = false;
    };

    QWidget* CreateCellEditor(QWidget* parent, int row, int column);
    void EndEdit(QWidget* editor, bool accepted);
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void ApplyCheckbox(QTreeWidgetItem* item) const;
    int MoveRow(int from, int to);
    void RestoreSelection(QTreeWidgetItem* current, const QList<QTreeWidgetItem*>& selected);
    void SetCellRole(int row, int column, int role, const QVariant& value);

    std::vector<Qt::Alignment> alignments_;
    bool gridLines_ = false;
    CheckboxStyle checkboxStyle_ = CheckboxStyle::None;
    OpenEdit openEdit_;

    CompareCallback compare_;
    BeforeEditCallback beforeEdit_;
    EditEndCallback editEnd_;
    CheckChangedCallback checkChanged_;
};

}  // namespace zarvin
