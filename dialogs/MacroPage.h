#pragma once

// MacroPage: the macro page of the key editor: private copies of the working store's macros,
// their names, cycle counts and actions, the recorder, and in-place editing of the action list.
// Nothing reaches the store until the editor's Apply commits Macros() (CommitMacroList).
//
// The editor creates and places the page's controls from its skin file and hands them over; the
// page connects their signals.

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/KeyHook.h"
#include "model/KeyCodes.h"
#include "model/MacroActionList.h"
#include "model/MacroNames.h"
#include "model/MacroRecord.h"
#include "skin/ReportCtrl.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace zarvin {

class CPngButton;
class CReportCtrl;
class ConfiguratorCore;

struct MacroPageControls {
    QComboBox* macroList = nullptr;        // 1126, editable
    QLineEdit* cycles = nullptr;           // 1125
    CReportCtrl* actions = nullptr;        // 1019
    CPngButton* add = nullptr;             // 1017
    CPngButton* remove = nullptr;          // 1018
    CPngButton* record = nullptr;          // 1020
    CPngButton* deleteAction = nullptr;    // 1021
    CPngButton* clearActions = nullptr;    // 1022
    CPngButton* moveTop = nullptr;         // 1023
    CPngButton* moveUp = nullptr;          // 1024
    CPngButton* moveDown = nullptr;        // 1025
    CPngButton* moveBottom = nullptr;      // 1026
    QCheckBox* recordDelay = nullptr;      // 1027
};

class MacroPage : public QObject {
    Q_OBJECT

public:
    // `dialog` grabs the keyboard while recording. `markChanged` marks the editor changed
    // (enables its Apply).
    MacroPage(ConfiguratorCore& core, QWidget* dialog, const MacroPageControls& controls,
              std::function<void()> markChanged);
    ~MacroPage() override;

    // Sets up the action list's columns, grid lines and in-place editing (once per opening,
    // before LoadMacroList).
    void SetUpActionList();
    void LoadMacroList();
    void ShowMacroPage(bool initial, int32_t recordValue);
    void StoreCurrentMacro();
    void StopRecording();
    void FreeMacroPage();
    // Ends an in-place edit of the action list, if one is open.
    void EndInPlaceEdit();

    bool Recording() const;
    // The private copies, in list order.
    std::vector<MacroRecord> Macros() const;
    // Position of the current macro in the list, -1 when none.
    int CurrentMacro() const;
    // The cycles field as a number.
    int Cycles() const;
    // The page's texts in the current language (labels are the editor's).
    void ApplyLanguage();

    // Milliseconds from any fixed point; recorded delays are differences of two readings.
    using Clock = std::function<int64_t()>;
    // Replaces the steady clock (tests).
    void SetClock(Clock clock);

private:
    void ConnectControls();

    // Handlers of the page's controls.
    void OnAdd();
    void OnDelete();
    void OnRecord();
    void OnDeleteAction();
    void OnClearActions();
    void OnMove(const std::function<int(CReportCtrl&, int)>& move);
    void OnRecordDelayClicked();
    void OnMacroSelected(int index);
    void OnNameEdited(const QString& text);
    void OnCyclesChanged(const QString& text);
    CReportCtrl::CellEditor BeforeCellEdit(int row, int column);
    void OnCellEditEnd(const CReportCtrl::CellEdit& edit);

    // The recorder.
    void StartRecording();
    void EndRecording();
    void ShowRecordingLook();
    // The key hook's handler: true swallows the key.
    bool OnRecordedKey(const KeyMessage& message);
    void RecordNow(KeyCode key, uint16_t state);
    void AddRecordedAction(int64_t time, KeyCode key, uint16_t state);

    void SelectCurrentMacro();
    void ShowCurrentMacro();
    void EnableActionButtons();
    bool HasCurrentMacro() const;
    void InsertActionRow(int row, const MacroAction& action);
    QString StateText(uint16_t state) const;
    std::optional<size_t> SelectedRow() const;
    // The macro list's entry texts, without the entry at `except`.
    std::vector<std::u16string> EntryNames(int except = -1) const;
    std::u16string NamePrefix() const;
    // Changes an entry's text and keeps what the user is typing in the edit field.
    void SetEntryKeepingEditText(int index, const QString& text);
    QString Text(std::string_view key) const;

    ConfiguratorCore& core_;
    MacroPageControls controls_;
    std::function<void()> markChanged_;

    // Parallel to the macro list's entries.
    std::vector<MacroRecord> macros_;
    int current_ = -1;
    MacroNamer namer_;
    bool firstShow_ = true;
    bool columnsAdded_ = false;
    int recordDelay_ = 0;
    MacroActionList rows_;
    // The cell an in-place edit was opened for.
    int editedRow_ = -1;
    int editedColumn_ = -1;

    KeyHook hook_;
    Clock clock_;
    bool recording_ = false;
    int64_t lastTick_ = 0;
    // The Windows key whose press was recorded last; its repeats are not recorded again.
    uint8_t heldWindowsKey_ = 0;
};

}  // namespace zarvin
