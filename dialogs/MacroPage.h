#pragma once

// MacroPage: the macro page of the key editor: private copies of the working store's macros,
// their names, cycle counts and actions, the recorder, and in-place editing of the action list.
// Nothing reaches the store until the editor's Apply commits Macros() (CommitMacroList).
//
// PUBLIC SURFACE (fixed; the key editor, Zarvin_DlgComposite, uses it). The editor creates and
// places the page's controls from its skin file and hands them over; the page connects their
// signals. Everything below `private:` is the implementer's.

#include <QObject>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/MacroRecord.h"

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

private:
};

}  // namespace zarvin
