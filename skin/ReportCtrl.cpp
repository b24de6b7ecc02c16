#include "skin/ReportCtrl.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>

#include "skin/ComboBox4ListCtrl.h"

namespace zarvin {

namespace {

constexpr int kDataRole = Qt::UserRole;
// The check mark last reported, so that other changes of a row are not taken for check changes.
constexpr int kReportedCheckRole = Qt::UserRole + 1;

// What the in-place drop-down posts when the user picks an entry: wParam row, lParam column.
constexpr unsigned kDropDownPicked = 0x0401;

// Two numbers compare as numbers (so 9 goes before 10), anything else as text.
int CompareTexts(const QString& first, const QString& second) {
    bool firstIsNumber = false;
    bool secondIsNumber = false;
    const double firstNumber = first.toDouble(&firstIsNumber);
    const double secondNumber = second.toDouble(&secondIsNumber);
    if (firstIsNumber && secondIsNumber) {
        return (firstNumber > secondNumber) - (firstNumber < secondNumber);
    }
    return QString::localeAwareCompare(first, second);
}

}  // namespace

// Draws the grid lines and hands the list's in-place editing to the list's owner.
class ReportCellDelegate : public QStyledItemDelegate {
public:
    explicit ReportCellDelegate(CReportCtrl* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (list_->GridLines()) {
            painter->save();
            painter->setPen(option.palette.color(QPalette::Mid));
            painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
            painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
            painter->restore();
        }
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        return list_->CreateCellEditor(parent, index.row(), index.column());
    }

    // The editor is filled when it is made; the owner's own changes to the cell while it is
    // open must not overwrite what the user typed.
    void setEditorData(QWidget*, const QModelIndex&) const override {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
        list_->EndEdit(editor, true);
    }

private:
    CReportCtrl* list_;
};

CReportCtrl::CReportCtrl(QWidget* parent) : QTreeWidget(parent) {
    setItemDelegate(new ReportCellDelegate(this));
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(this, &QTreeWidget::itemChanged, this, &CReportCtrl::OnItemChanged);
}

int CReportCtrl::AddColumn(const QString& header, int width, Qt::Alignment alignment) {
    const int column = columnCount();
    alignments_.push_back(alignment);
    setColumnCount(column + 1);
    headerItem()->setText(column, header);
    headerItem()->setTextAlignment(column, alignment | Qt::AlignVCenter);
    setColumnWidth(column, width);
    return column;
}

int CReportCtrl::InsertItem(int row, const QStringList& texts, const QVariant& value) {
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    for (size_t column = 0; column < alignments_.size(); ++column) {
        const int at = static_cast<int>(column);
        item->setTextAlignment(at, alignments_[column] | Qt::AlignVCenter);
        if (at < texts.size()) {
            item->setText(at, texts[at]);
        }
    }
    item->setData(0, kDataRole, value);
    ApplyCheckbox(item);
    if (row < 0 || row > ItemCount()) {
        row = ItemCount();
    }
    insertTopLevelItem(row, item);
    return row;
}

void CReportCtrl::SetItemText(int row, int column, const QString& text) {
    if (column >= 0) {
        SetCellRole(row, column, Qt::DisplayRole, text);
    }
}

QString CReportCtrl::ItemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

void CReportCtrl::SetItemData(int row, const QVariant& value) {
    SetCellRole(row, 0, kDataRole, value);
}

QVariant CReportCtrl::ItemData(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, kDataRole) : QVariant();
}

int CReportCtrl::NextItem(int after, RowState state) const {
    if (after >= ItemCount()) {
        return -1;
    }
    for (int row = std::max(after + 1, 0); row < ItemCount(); ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        const bool inState =
            state == RowState::Selected ? item->isSelected() : item->checkState(0) == Qt::Checked;
        if (inState) {
            return row;
        }
    }
    return -1;
}

void CReportCtrl::SelectItem(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr) {
        return;
    }
    setCurrentItem(item);
    scrollToItem(item);
}

void CReportCtrl::DeleteItem(int row) {
    if (topLevelItem(row) == nullptr) {
        return;
    }
    delete takeTopLevelItem(row);
    SelectItem(std::min(row, ItemCount() - 1));
}

void CReportCtrl::DeleteAllItems() {
    clear();
}

void CReportCtrl::SetGridLines(bool on) {
    gridLines_ = on;
    viewport()->update();
}

void CReportCtrl::SetCheckboxStyle(CheckboxStyle style) {
    checkboxStyle_ = style;
    bool checkedSeen = false;
    for (int row = 0; row < ItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        ApplyCheckbox(item);
        if (item->checkState(0) == Qt::Checked) {
            if (checkedSeen && style == CheckboxStyle::Single) {
                item->setCheckState(0, Qt::Unchecked);
            }
            checkedSeen = true;
        }
    }
}

void CReportCtrl::SetItemChecked(int row, bool checked) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item != nullptr && checkboxStyle_ != CheckboxStyle::None) {
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool CReportCtrl::IsItemChecked(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr && item->checkState(0) == Qt::Checked;
}

void CReportCtrl::SetItemTextColour(int row, int column, const QColor& colour) {
    SetCellRole(row, column, Qt::ForegroundRole,
                colour.isValid() ? QVariant(QBrush(colour)) : QVariant());
}

void CReportCtrl::SetItemBackground(int row, int column, const QColor& colour) {
    SetCellRole(row, column, Qt::BackgroundRole,
                colour.isValid() ? QVariant(QBrush(colour)) : QVariant());
}

int CReportCtrl::MoveUp(int row, int count) {
    if (topLevelItem(row) == nullptr) {
        return -1;
    }
    return MoveRow(row, row - std::clamp(count, 0, row));
}

int CReportCtrl::MoveDown(int row, int count) {
    if (topLevelItem(row) == nullptr) {
        return -1;
    }
    return MoveRow(row, row + std::clamp(count, 0, ItemCount() - 1 - row));
}

int CReportCtrl::MoveToTop(int row) {
    return MoveRow(row, 0);
}

int CReportCtrl::MoveToBottom(int row) {
    return MoveRow(row, ItemCount() - 1);
}

void CReportCtrl::SortItems(int column, bool ascending) {
    QTreeWidgetItem* current = currentItem();
    const QList<QTreeWidgetItem*> selected = selectedItems();
    QList<QTreeWidgetItem*> rows;
    while (ItemCount() > 0) {
        rows.append(takeTopLevelItem(0));
    }
    const auto compareRows = [&](const QTreeWidgetItem* first, const QTreeWidgetItem* second) {
        return compare_ ? compare_(first->data(0, kDataRole), second->data(0, kDataRole))
                        : CompareTexts(first->text(column), second->text(column));
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const QTreeWidgetItem* first, const QTreeWidgetItem* second) {
                         const int order = compareRows(first, second);
                         return ascending ? order < 0 : order > 0;
                     });
    addTopLevelItems(rows);
    RestoreSelection(current, selected);
}

void CReportCtrl::SetBeforeEditCallback(BeforeEditCallback callback) {
    beforeEdit_ = std::move(callback);
    setEditTriggers(beforeEdit_
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

bool CReportCtrl::event(QEvent* event) {
    if (event->type() != CComboBox4ListCtrl::PostedMessage::EventType()) {
        return QTreeWidget::event(event);
    }
    const auto* posted = static_cast<const CComboBox4ListCtrl::PostedMessage*>(event);
    QWidget* editor = openEdit_.editor;
    const bool forOpenEdit = posted->message == kDropDownPicked && editor != nullptr &&
                             posted->wParam == static_cast<quintptr>(openEdit_.row) &&
                             posted->lParam == openEdit_.column;
    if (forOpenEdit) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return true;
}

void CReportCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    EndEdit(editor, false);
    // An edit ends where it is; Tab does not walk on to the next cell.
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem) {
        hint = QAbstractItemDelegate::NoHint;
    }
    QTreeWidget::closeEditor(editor, hint);
}

QWidget* CReportCtrl::CreateCellEditor(QWidget* parent, int row, int column) {
    if (!beforeEdit_) {
        return nullptr;
    }
    const CellEditor wanted = beforeEdit_(row, column);
    QWidget* editor = nullptr;
    switch (wanted.kind) {
        case CellEditor::Kind::Refused:
            return nullptr;
        case CellEditor::Kind::Text:
        case CellEditor::Kind::Digits: {
            auto* box = new QLineEdit(ItemText(row, column), parent);
            if (wanted.kind == CellEditor::Kind::Digits) {
                box->setValidator(
                    new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
            }
            editor = box;
            break;
        }
        case CellEditor::Kind::DropDown: {
            auto* list = new CComboBox4ListCtrl(parent);
            list->addItems(wanted.entries);
            if (wanted.visibleRows > 0) {
                list->setMaxVisibleItems(wanted.visibleRows);
            }
            list->setCurrentIndex(wanted.current);
            list->SetTarget(this, kDropDownPicked, static_cast<quintptr>(row), column);
            // Opened once the view has placed it over the cell, unless the edit is over by then.
            QTimer::singleShot(0, list, [list] {
                if (list->isVisible()) {
                    list->showPopup();
                }
            });
            editor = list;
            break;
        }
    }
    openEdit_ = {editor, row, column, false};
    return editor;
}

void CReportCtrl::EndEdit(QWidget* editor, bool accepted) {
    if (editor == nullptr || editor != openEdit_.editor || openEdit_.ended) {
        return;
    }
    // Marked first: the owner may open a message box, and the focus it takes ends the editor
    // a second time.
    openEdit_.ended = true;
    CellEdit edit{openEdit_.row, openEdit_.column, {}, -1, accepted};
    if (const auto* list = qobject_cast<const QComboBox*>(editor)) {
        edit.text = list->currentText();
        edit.entry = list->currentIndex();
    } else if (const auto* box = qobject_cast<const QLineEdit*>(editor)) {
        edit.text = box->text();
    }
    if (editEnd_) {
        editEnd_(edit);
    }
}

void CReportCtrl::OnItemChanged(QTreeWidgetItem* item, int column) {
    if (column != 0 || checkboxStyle_ == CheckboxStyle::None) {
        return;
    }
    const bool checked = item->checkState(0) == Qt::Checked;
    if (item->data(0, kReportedCheckRole).toBool() == checked) {
        return;
    }
    item->setData(0, kReportedCheckRole, checked);
    if (checked && checkboxStyle_ == CheckboxStyle::Single) {
        for (int row = 0; row < ItemCount(); ++row) {
            QTreeWidgetItem* other = topLevelItem(row);
            if (other != item && other->checkState(0) == Qt::Checked) {
                other->setCheckState(0, Qt::Unchecked);
            }
        }
    }
    if (checkChanged_) {
        checkChanged_(indexOfTopLevelItem(item), checked);
    }
}

void CReportCtrl::ApplyCheckbox(QTreeWidgetItem* item) const {
    if (checkboxStyle_ == CheckboxStyle::None) {
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setData(0, Qt::CheckStateRole, QVariant());
        item->setData(0, kReportedCheckRole, QVariant());
        return;
    }
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    if (!item->data(0, Qt::CheckStateRole).isValid()) {
        item->setData(0, kReportedCheckRole, false);
        item->setCheckState(0, Qt::Unchecked);
    }
}

int CReportCtrl::MoveRow(int from, int to) {
    QTreeWidgetItem* item = topLevelItem(from);
    if (item == nullptr) {
        return -1;
    }
    to = std::clamp(to, 0, ItemCount() - 1);
    if (to == from) {
        return from;
    }
    // Taking out the current row would select its neighbour.
    QTreeWidgetItem* current = currentItem();
    const QList<QTreeWidgetItem*> selected = selectedItems();
    takeTopLevelItem(from);
    insertTopLevelItem(to, item);
    RestoreSelection(current, selected);
    return to;
}

void CReportCtrl::RestoreSelection(QTreeWidgetItem* current,
                                   const QList<QTreeWidgetItem*>& selected) {
    clearSelection();
    if (current != nullptr) {
        setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* item : selected) {
        item->setSelected(true);
    }
}

void CReportCtrl::SetCellRole(int row, int column, int role, const QVariant& value) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr || column >= columnCount()) {
        return;
    }
    if (column >= 0) {
        item->setData(column, role, value);
        return;
    }
    for (int each = 0; each < columnCount(); ++each) {
        item->setData(each, role, value);
    }
}

}  // namespace zarvin
