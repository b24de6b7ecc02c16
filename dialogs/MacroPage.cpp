#include "dialogs/MacroPage.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <algorithm>
#include <mutex>

#include "control/ConfiguratorCore.h"
#include "control/ProfileMacros.h"
#include "control/UserQuestions.h"
#include "device/UserMessages.h"
#include "model/KeyMapCodec.h"
#include "model/MacroArea.h"
#include "model/MacroFieldRules.h"
#include "skin/PngButton.h"

namespace zarvin {

namespace {

constexpr int kColumnWidth = 63;
constexpr int kKeyColumn = 0;
constexpr int kStateColumn = 1;
constexpr int kDelayColumn = 2;
constexpr int kKeyListRows = 20;
constexpr int kStateListRows = 6;
constexpr int kMaxMacros = 100;
// The time of the press put in before a key Windows reports only the release of.
constexpr int64_t kInsertedPressTime = 2;
constexpr uint8_t kLeftWindowsVk = 0x5B;
constexpr uint8_t kRightWindowsVk = 0x5C;
constexpr uint8_t kEscapeVk = 0x1B;

bool IsMediaKey(KeyCode code) {
    return std::ranges::any_of(MediaFunctionTable,
                               [code](const MediaFunction& row) { return row.keyCode == code; });
}

int64_t SteadyMilliseconds() {
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer.elapsed();
}

}  // namespace

MacroPage::MacroPage(ConfiguratorCore& core, QWidget* dialog, const MacroPageControls& controls,
                     std::function<void()> markChanged)
    : core_(core),
      controls_(controls),
      markChanged_(std::move(markChanged)),
      hook_(dialog, [this](const KeyMessage& message) { return OnRecordedKey(message); }),
      clock_(SteadyMilliseconds) {
    ConnectControls();
}

MacroPage::~MacroPage() = default;

void MacroPage::SetClock(Clock clock) {
    clock_ = std::move(clock);
}

void MacroPage::ConnectControls() {
    const auto onClick = [this](CPngButton* button, void (MacroPage::*handler)()) {
        if (button != nullptr) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, handler] { (this->*handler)(); });
        }
    };
    onClick(controls_.add, &MacroPage::OnAdd);
    onClick(controls_.remove, &MacroPage::OnDelete);
    onClick(controls_.record, &MacroPage::OnRecord);
    if (controls_.record != nullptr) {
        controls_.record->SetSelectedOverHover(true);
    }
    onClick(controls_.deleteAction, &MacroPage::OnDeleteAction);
    onClick(controls_.clearActions, &MacroPage::OnClearActions);

    const auto onMove = [this](CPngButton* button, std::function<int(CReportCtrl&, int)> move) {
        if (button != nullptr) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, move = std::move(move)] { OnMove(move); });
        }
    };
    onMove(controls_.moveTop, [](CReportCtrl& list, int row) { return list.MoveToTop(row); });
    onMove(controls_.moveUp, [](CReportCtrl& list, int row) { return list.MoveUp(row); });
    onMove(controls_.moveDown, [](CReportCtrl& list, int row) { return list.MoveDown(row); });
    onMove(controls_.moveBottom, [](CReportCtrl& list, int row) { return list.MoveToBottom(row); });

    if (controls_.recordDelay != nullptr) {
        connect(controls_.recordDelay, &QCheckBox::clicked, this,
                [this] { OnRecordDelayClicked(); });
    }
    if (controls_.cycles != nullptr) {
        connect(controls_.cycles, &QLineEdit::textChanged, this,
                [this](const QString& text) { OnCyclesChanged(text); });
    }
    if (QComboBox* list = controls_.macroList; list != nullptr) {
        // Entries come and go through the page only: Enter adds none, and nothing completes
        // what the user types.
        list->setInsertPolicy(QComboBox::NoInsert);
        connect(list, &QComboBox::activated, this, [this](int index) { OnMacroSelected(index); });
        if (list->lineEdit() != nullptr) {
            list->setCompleter(nullptr);
            connect(list->lineEdit(), &QLineEdit::textEdited, this,
                    [this](const QString& text) { OnNameEdited(text); });
        }
    }
}

// ---- operations of the editor ----

void MacroPage::SetUpActionList() {
    CReportCtrl* list = controls_.actions;
    if (columnsAdded_ || list == nullptr) {
        return;
    }
    columnsAdded_ = true;
    // A list wider than three narrow columns shares its width between them, leaving room for
    // the vertical scroll bar, so that a long macro never needs a horizontal one.
    const int available = list->width() - 2 * list->frameWidth() -
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int width = std::max(kColumnWidth, available / 3);
    list->AddColumn(Text("MACRO_KEYS_TISHI"), width);
    list->AddColumn(Text("MACRO_ACTION_TISHI"), width);
    list->AddColumn(Text("MACRO_DELAY_MS"), std::max(kColumnWidth, available - 2 * width));
    list->SetGridLines(true);
    list->SetBeforeEditCallback(
        [this](int row, int column) { return BeforeCellEdit(row, column); });
    list->SetEditEndCallback([this](const CReportCtrl::CellEdit& edit) { OnCellEditEnd(edit); });
}

void MacroPage::LoadMacroList() {
    const std::string settingName = core_.Text("MACRO_ACTION_RECORD_DELAY");
    const int stored = core_.UserSettings().ReadProfileNumber(settingName, 0);
    core_.UserSettings().WriteProfileFlag(settingName, stored);
    recordDelay_ = stored == 1 ? 1 : 0;
    if (controls_.recordDelay != nullptr) {
        controls_.recordDelay->setChecked(recordDelay_ == 1);
    }

    if (controls_.cycles != nullptr) {
        controls_.cycles->setText(QStringLiteral("1"));
    }
    EndRecording();

    FreeMacroPage();
    {
        const std::lock_guard lock(core_.Working().Lock());
        macros_ = core_.Working().Macros();
    }
    for (MacroRecord& macro : macros_) {
        macro.SetNewFlag(0);
        if (controls_.macroList != nullptr) {
            controls_.macroList->addItem(QString::fromStdU16String(macro.Name()));
        }
    }
    current_ = -1;
    SelectCurrentMacro();
    EnableActionButtons();
    firstShow_ = true;
}

void MacroPage::ShowMacroPage(bool initial, int32_t recordValue) {
    // The first showing through the page button counts even with no macros, so that macros
    // added then are not passed over for the first one when the page is shown again.
    const bool firstShow = !initial && firstShow_;
    if (firstShow) {
        firstShow_ = false;
    }
    if (macros_.empty()) {
        return;
    }
    int chosen = -1;
    if (initial) {
        const auto byId = std::ranges::find_if(macros_, [recordValue](const MacroRecord& macro) {
            return recordValue != 0 && macro.Id() == recordValue;
        });
        chosen = byId == macros_.end() ? 0 : static_cast<int>(byId - macros_.begin());
    } else if (firstShow && recordValue == 0) {
        chosen = 0;
    }
    if (chosen < 0) {
        return;
    }
    StoreCurrentMacro();
    current_ = chosen;
    SelectCurrentMacro();
    ShowCurrentMacro();
}

void MacroPage::StoreCurrentMacro() {
    if (!HasCurrentMacro()) {
        return;
    }
    MacroRecord& macro = macros_[static_cast<size_t>(current_)];
    macro.SetCycles(static_cast<uint8_t>(Cycles()));
    rows_.StoreInto(macro);
}

void MacroPage::StopRecording() {
    if (recording_) {
        EndRecording();
    }
}

void MacroPage::FreeMacroPage() {
    if (controls_.actions != nullptr) {
        controls_.actions->DeleteAllItems();
    }
    rows_.Clear();
    macros_.clear();
    current_ = -1;
    if (controls_.macroList != nullptr) {
        controls_.macroList->clear();
        controls_.macroList->clearEditText();
    }
}

void MacroPage::EndInPlaceEdit() {
    CReportCtrl* list = controls_.actions;
    if (list == nullptr || editedRow_ < 0) {
        return;
    }
    QWidget* editor = list->indexWidget(list->model()->index(editedRow_, editedColumn_));
    if (editor == nullptr) {
        return;
    }
    // As if the editor lost the focus: what it holds is taken.
    QAbstractItemDelegate* delegate = list->itemDelegate();
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool MacroPage::Recording() const {
    return recording_;
}

std::vector<MacroRecord> MacroPage::Macros() const {
    return macros_;
}

int MacroPage::CurrentMacro() const {
    return current_;
}

int MacroPage::Cycles() const {
    const QString text = controls_.cycles != nullptr ? controls_.cycles->text() : QString();
    return CyclesOfText(text.toStdString());
}

void MacroPage::ApplyLanguage() {
    if (CReportCtrl* list = controls_.actions; list != nullptr && columnsAdded_) {
        QTreeWidgetItem* header = list->headerItem();
        header->setText(kKeyColumn, Text("MACRO_KEYS_TISHI"));
        header->setText(kStateColumn, Text("MACRO_ACTION_TISHI"));
        header->setText(kDelayColumn, Text("MACRO_DELAY_MS"));
    }
    ShowRecordingLook();
}

// ---- the macro list ----

void MacroPage::OnAdd() {
    if (macros_.size() >= kMaxMacros) {
        core_.Messages().ShowFormattedMessage("MACRO_ERR_MAX", std::to_string(kMaxMacros));
        return;
    }
    if (macros_.empty()) {
        namer_.Reset();
    }
    const std::u16string name = namer_.NextUnused(NamePrefix(), EntryNames());
    std::optional<MacroRecord> macro = NewMacro(name, macros_);
    if (!macro) {
        return;
    }
    StoreCurrentMacro();
    macros_.push_back(*macro);
    if (controls_.macroList != nullptr) {
        controls_.macroList->addItem(QString::fromStdU16String(name));
    }
    current_ = static_cast<int>(macros_.size()) - 1;
    SelectCurrentMacro();
    ShowCurrentMacro();
    markChanged_();
}

void MacroPage::OnDelete() {
    if (!HasCurrentMacro()) {
        return;
    }
    const auto position = static_cast<size_t>(current_);
    if (!ConfirmMacroDelete(macros_[position], core_.Working(), core_.Questions())) {
        return;
    }
    macros_.erase(macros_.begin() + current_);
    if (controls_.macroList != nullptr) {
        controls_.macroList->removeItem(current_);
    }
    current_ = macros_.empty() ? -1 : std::max(current_ - 1, 0);
    SelectCurrentMacro();
    ShowCurrentMacro();
    markChanged_();
}

void MacroPage::OnMacroSelected(int index) {
    StoreCurrentMacro();
    current_ = index;
    ShowCurrentMacro();
}

void MacroPage::OnNameEdited(const QString& text) {
    const std::u16string typed = text.toStdU16String();
    if (!macros_.empty()) {
        if (!HasCurrentMacro()) {
            return;  // no macro to rename
        }
        const std::u16string name = namer_.NameForTyped(typed, NamePrefix(), EntryNames(current_));
        SetEntryKeepingEditText(current_, QString::fromStdU16String(name));
        macros_[static_cast<size_t>(current_)].SetName(name);
        markChanged_();
        return;
    }
    const std::u16string name = namer_.NameForTyped(typed, NamePrefix(), {});
    std::optional<MacroRecord> macro = NewMacro(name, macros_);
    if (!macro) {
        return;
    }
    macros_.push_back(*macro);
    current_ = 0;
    if (QComboBox* list = controls_.macroList; list != nullptr) {
        QLineEdit* edit = list->lineEdit();
        const int cursor = edit != nullptr ? edit->cursorPosition() : 0;
        list->addItem(QString::fromStdU16String(name));
        list->setCurrentIndex(0);
        if (edit != nullptr) {
            edit->setText(text);
            edit->setCursorPosition(cursor);
        }
    }
    ShowCurrentMacro();
    markChanged_();
}

void MacroPage::SetEntryKeepingEditText(int index, const QString& text) {
    QComboBox* list = controls_.macroList;
    if (list == nullptr) {
        return;
    }
    QLineEdit* edit = list->lineEdit();
    const QString typed = edit != nullptr ? edit->text() : QString();
    const int cursor = edit != nullptr ? edit->cursorPosition() : 0;
    list->setItemText(index, text);
    if (edit != nullptr && edit->text() != typed) {
        edit->setText(typed);
        edit->setCursorPosition(cursor);
    }
}

void MacroPage::OnCyclesChanged(const QString& text) {
    if (const std::optional<std::string_view> corrected = CorrectedCyclesText(text.toStdString())) {
        // The field's change signal comes again for the corrected text and marks the change.
        controls_.cycles->setText(
            QString::fromUtf8(corrected->data(), static_cast<qsizetype>(corrected->size())));
        return;
    }
    markChanged_();
}

void MacroPage::OnRecordDelayClicked() {
    recordDelay_ = recordDelay_ == 1 ? 0 : 1;
    core_.UserSettings().WriteProfileFlag(core_.Text("MACRO_ACTION_RECORD_DELAY"), recordDelay_);
    if (controls_.recordDelay != nullptr) {
        controls_.recordDelay->setChecked(recordDelay_ == 1);
    }
}

void MacroPage::SelectCurrentMacro() {
    if (controls_.macroList != nullptr) {
        controls_.macroList->setCurrentIndex(current_);
        if (current_ < 0) {
            controls_.macroList->clearEditText();
        }
    }
}

void MacroPage::ShowCurrentMacro() {
    if (controls_.actions != nullptr) {
        controls_.actions->DeleteAllItems();
    }
    rows_.Clear();
    if (HasCurrentMacro()) {
        const MacroRecord& macro = macros_[static_cast<size_t>(current_)];
        if (controls_.cycles != nullptr) {
            controls_.cycles->setText(QString::number(macro.Cycles()));
        }
        rows_.Load(macro);
        for (size_t row = 0; row < rows_.Size(); ++row) {
            InsertActionRow(static_cast<int>(row), rows_.Rows()[row]);
        }
    }
    EnableActionButtons();
}

void MacroPage::EnableActionButtons() {
    const bool enabled = HasCurrentMacro();
    for (CPngButton* button :
         {controls_.record, controls_.deleteAction, controls_.clearActions, controls_.moveTop,
          controls_.moveUp, controls_.moveDown, controls_.moveBottom}) {
        if (button != nullptr) {
            button->setEnabled(enabled);
        }
    }
}

bool MacroPage::HasCurrentMacro() const {
    return current_ >= 0 && static_cast<size_t>(current_) < macros_.size();
}

// ---- the action list ----

void MacroPage::InsertActionRow(int row, const MacroAction& action) {
    CReportCtrl* list = controls_.actions;
    if (list == nullptr) {
        return;
    }
    const QStringList texts = {QString::fromStdString(KeyNameOf(action.key, core_.Texts())),
                               StateText(action.state), QString::number(action.delay)};
    const int inserted = list->InsertItem(row, texts);
    const QColor grey = list->palette().color(QPalette::Disabled, QPalette::Text);
    list->SetItemTextColour(inserted, kKeyColumn, grey);
    list->SetItemTextColour(inserted, kStateColumn, grey);
}

QString MacroPage::StateText(uint16_t state) const {
    return state == MacroAction::kRelease ? QStringLiteral("  ") + QChar(0x2191)
                                          : QString(QChar(0x2193));
}

std::optional<size_t> MacroPage::SelectedRow() const {
    if (controls_.actions == nullptr) {
        return std::nullopt;
    }
    const int row = controls_.actions->NextItem(-1, CReportCtrl::RowState::Selected);
    if (row < 0 || static_cast<size_t>(row) >= rows_.Size()) {
        return std::nullopt;
    }
    return static_cast<size_t>(row);
}

void MacroPage::OnDeleteAction() {
    const std::optional<size_t> row = SelectedRow();
    if (!row) {
        return;
    }
    rows_.Remove(*row);
    controls_.actions->DeleteItem(static_cast<int>(*row));
    markChanged_();
}

void MacroPage::OnClearActions() {
    if (controls_.actions == nullptr || controls_.actions->ItemCount() == 0) {
        return;
    }
    if (!core_.Questions().AskYesNo("MACRO_ACTION_CLEAR_CONFIRM")) {
        return;
    }
    controls_.actions->DeleteAllItems();
    rows_.Clear();
    markChanged_();
}

void MacroPage::OnMove(const std::function<int(CReportCtrl&, int)>& move) {
    const std::optional<size_t> row = SelectedRow();
    if (!row) {
        return;
    }
    CReportCtrl& list = *controls_.actions;
    const int moved = move(list, static_cast<int>(*row));
    rows_.Move(*row, static_cast<size_t>(moved));
    list.SelectItem(moved);
    list.setFocus();
    markChanged_();
}

CReportCtrl::CellEditor MacroPage::BeforeCellEdit(int row, int column) {
    editedRow_ = row;
    editedColumn_ = column;
    const MacroAction action = row >= 0 && static_cast<size_t>(row) < rows_.Size()
                                   ? rows_.Rows()[static_cast<size_t>(row)]
                                   : MacroAction{};
    switch (column) {
        case kDelayColumn:
            StopRecording();
            return CReportCtrl::CellEditor::DigitsBox();
        case kKeyColumn: {
            const TextLookup texts = core_.Texts();
            QStringList names;
            for (uint16_t pick = 0; pick < kPickListSize; ++pick) {
                names.push_back(QString::fromStdString(PickNameOf(pick, texts)));
            }
            const uint16_t pick = PickOfKeyCode(action.key);
            return CReportCtrl::CellEditor::DropDownList(names, pick < kPickListSize ? pick : -1,
                                                         kKeyListRows);
        }
        case kStateColumn:
            return CReportCtrl::CellEditor::DropDownList(
                {StateText(MacroAction::kPress), StateText(MacroAction::kRelease)}, action.state,
                kStateListRows);
        default:
            core_.Messages().ShowMessage("MACRO_ACTION_ERR_MODIFY");
            return CReportCtrl::CellEditor::Refused();
    }
}

void MacroPage::OnCellEditEnd(const CReportCtrl::CellEdit& edit) {
    editedRow_ = -1;
    CReportCtrl& list = *controls_.actions;
    if (edit.column == kDelayColumn) {
        if (!edit.accepted || edit.row < 0 || static_cast<size_t>(edit.row) >= rows_.Size()) {
            return;
        }
        const EditedDelay delay = EditedDelayOf(edit.text.toStdString());
        if (delay.overMaximum) {
            core_.Messages().ShowFormattedMessage("MACRO_ACTION_ERR_DELAY_MAX",
                                                std::to_string(kMaxEditedDelay));
        }
        const auto row = static_cast<size_t>(edit.row);
        MacroAction action = rows_.Rows()[row];
        action.delay = delay.delay;
        rows_.Set(row, action);
        list.SetItemText(edit.row, kDelayColumn, QString::number(delay.delay));
        markChanged_();
        return;
    }
    const std::optional<size_t> row = SelectedRow();
    if (!edit.accepted || !row || edit.entry < 0) {
        return;
    }
    MacroAction action = rows_.Rows()[*row];
    const auto entry = static_cast<uint16_t>(edit.entry);
    const int shownRow = static_cast<int>(*row);
    if (edit.column == kKeyColumn && entry < kPickListSize && entry != PickOfKeyCode(action.key)) {
        action.key = KeyCodeOfPick(entry);
        list.SetItemText(shownRow, kKeyColumn,
                         QString::fromStdString(PickNameOf(entry, core_.Texts())));
    } else if (edit.column == kStateColumn && entry <= MacroAction::kRelease &&
               entry != action.state) {
        action.state = entry;
        list.SetItemText(shownRow, kStateColumn, StateText(entry));
    } else {
        return;
    }
    rows_.Set(*row, action);
    markChanged_();
}

// ---- the recorder ----

void MacroPage::OnRecord() {
    if (recording_) {
        EndRecording();
    } else {
        StartRecording();
    }
}

void MacroPage::StartRecording() {
    recording_ = true;
    ShowRecordingLook();
    lastTick_ = clock_();
    heldWindowsKey_ = 0;
    hook_.Install();
}

void MacroPage::EndRecording() {
    recording_ = false;
    ShowRecordingLook();
    hook_.Remove();
}

void MacroPage::ShowRecordingLook() {
    if (controls_.record != nullptr) {
        controls_.record->setText(
            Text(recording_ ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD"));
        controls_.record->SetSelected(recording_, true);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{controls_.add, controls_.remove, controls_.macroList}) {
        if (control != nullptr) {
            control->setEnabled(!recording_);
        }
    }
}

bool MacroPage::OnRecordedKey(const KeyMessage& message) {
    // Escape ends the recording, so that it can be stopped without the mouse; an Escape in a
    // macro is chosen in the action list instead.
    if (message.vk == kEscapeVk) {
        if (!message.release) {
            EndRecording();
            if (controls_.record != nullptr) {
                controls_.record->setFocus(Qt::OtherFocusReason);
            }
        }
        return true;
    }
    const uint16_t state = message.release ? MacroAction::kRelease : MacroAction::kPress;
    if (message.release) {
        heldWindowsKey_ = 0;
    }
    // The Windows keys are recorded by their own codes, so that the desktop never sees them.
    if (message.vk == kLeftWindowsVk || message.vk == kRightWindowsVk) {
        if (!message.release) {
            if (message.vk == heldWindowsKey_) {
                return true;
            }
            heldWindowsKey_ = message.vk;
        }
        RecordNow(static_cast<KeyCode>(0x100 | message.vk), state);
        return true;
    }
    const KeyCode key = KeyCodeOfKeyEvent(message.vk, message.keyWord);
    if (key == 0 || IsMediaKey(key)) {
        return false;
    }
    if (!message.release && message.autoRepeat) {
        return true;
    }
    if (NeedsInsertedPress(key)) {
        // Windows reports only the release of these keys; the release stands for the stroke.
        if (!message.release) {
            return true;
        }
        AddRecordedAction(kInsertedPressTime, key, MacroAction::kPress);
    }
    RecordNow(key, state);
    return true;
}

void MacroPage::RecordNow(KeyCode key, uint16_t state) {
    const int64_t now = clock_();
    AddRecordedAction(now - lastTick_, key, state);
    lastTick_ = now;
}

void MacroPage::AddRecordedAction(int64_t time, KeyCode key, uint16_t state) {
    const std::optional<size_t> added =
        rows_.AddRecorded(SelectedRow(), key, state, time, recordDelay_ == 1);
    CReportCtrl* list = controls_.actions;
    if (!added || list == nullptr) {
        return;
    }
    const int row = static_cast<int>(*added);
    if (row > 0) {
        list->SetItemText(row - 1, kDelayColumn, QString::number(rows_.Rows()[*added - 1].delay));
    }
    InsertActionRow(row, rows_.Rows()[*added]);
    list->SelectItem(row);
    markChanged_();
}

// ---- helpers ----

std::vector<std::u16string> MacroPage::EntryNames(int except) const {
    std::vector<std::u16string> names;
    if (controls_.macroList == nullptr) {
        return names;
    }
    for (int i = 0; i < controls_.macroList->count(); ++i) {
        if (i != except) {
            names.push_back(controls_.macroList->itemText(i).toStdU16String());
        }
    }
    return names;
}

std::u16string MacroPage::NamePrefix() const {
    return QString::fromStdString(core_.Text("MACRO_NEW_PREFIX")).toStdU16String();
}

QString MacroPage::Text(std::string_view key) const {
    return QString::fromStdString(core_.Text(key));
}

}  // namespace zarvin
