#pragma once

// Zarvin_DlgComposite: the key editor. Four pages (single key, macro, multimedia, function
// key); Apply commits the macro page's macros and writes the edited key's assignment record into
// the working profile store. The keyboard is written later by the main window's Apply.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/KeyCodes.h"
#include "model/KeyEditRecord.h"
#include "skin/BaseDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace zarvin {

class CPngButton;
class CReportCtrl;
class ConfiguratorCore;
class EditorHost;
class KeyHook;
class MacroPage;
struct KeyMessage;

// The key a click opened the editor for.
struct KeyEditTarget {
    int slot = 0;        // record slot: 0-255 key slots, 256-264 the G keys G1-G9
    int controlId = 0;   // the clicked button; 1143 (G9) opens the editor in macro mode
    QRect buttonRect;    // the clicked button on the screen; the editor opens beside it
};

class Zarvin_DlgComposite : public CBaseDialog {
    Q_OBJECT

public:
    Zarvin_DlgComposite(ConfiguratorCore& core, EditorHost& host, QWidget* parent = nullptr);
    ~Zarvin_DlgComposite() override;

    // Shows the editor window-modally for the target and returns at once.
    void Open(const KeyEditTarget& target);
    // Runs the editor modally for the target; returns when it has closed.
    int Exec(const KeyEditTarget& target);

    // The open count is above 0.
    bool IsOpen() const;
    // The main window's closing request: Cancel when open.
    void CloseIfOpen();
    // The language message ('PA' 'LANG'): the texts again, in the current language.
    void ApplyLanguage();

    // Apply (1015): commits the macro page's macros and writes the edited key's record into the
    // active profile of the working store. OK runs it before closing. An edit that cannot be
    // written (the macro page with no macro chosen) leaves the key as it was, says why and
    // returns false; OK then keeps the editor open.
    bool Apply();
    // Something was edited since the editor opened or last applied (what enables Apply).
    bool Changed() const { return changed_; }

protected:
    void InitDialog() override;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Page { Key, Macro, Media, Function };

    // One set of state images: normal, over, down and the fourth (disabled) image.
    struct FaceSet {
        QImage normal, over, down, disable;
    };

    void CreateControls();
    // The macro page's button placed from skin entry `entry`.
    CPngButton* MacroButton(std::string_view entry) const;
    void LoadImages();
    void PlaceControls();
    void SetFonts();
    void FillDropDowns();
    void ReadTargetRecord();
    void EnterMacroMode();
    void PlaceBesideButton();
    // The name of the key being edited ("Caps Lock", "G3").
    std::string TargetKeyName() const;

    static Page PageOf(uint16_t pageType);
    void ShowPage(bool initial);
    void ShowInitialKey();
    void SelectSource(KeySource source);
    void SwitchToType(uint16_t type);

    void OnKeyPageButton();
    void OnClear();
    void OnSourceChosen(KeySource source);
    // Waits for the key to assign: the next key pressed is captured, until it is let go.
    void ArmCapture();
    bool OnKeyMessage(const KeyMessage& message);
    void Capture(KeyCode key);
    void MarkChanged() { SetChanged(true); }
    // The changed flag and the Apply button it enables.
    void SetChanged(bool changed);

    ConfiguratorCore& core_;
    EditorHost& host_;

    KeyEditTarget target_;
    bool macroMode_ = false;
    uint16_t pageType_ = 0;
    KeyCode capturedKey_ = 0;
    bool keyCaptured_ = false;  // since the capture last began to wait
    int32_t initialValue_ = 0;
    bool changed_ = false;
    int openCount_ = 0;
    bool imagesLoaded_ = false;

    FaceSet keySet_, macroSet_, macro2Set_, mediaSet_, functionSet_;
    // Apply's disabled face, so that the user sees when there is nothing to apply; the other
    // buttons of the key set use its normal image there.
    QImage applyDisabled_;

    // Controls every page shows.
    CPngButton* mask_ = nullptr;  // 1033, the page background
    CPngButton* title_ = nullptr;
    CPngButton* osk_ = nullptr;
    CPngButton* clear_ = nullptr;
    CPngButton* keyPage_ = nullptr;
    CPngButton* macroPage_ = nullptr;
    CPngButton* mediaPage_ = nullptr;
    CPngButton* functionPage_ = nullptr;
    CPngButton* ok_ = nullptr;
    CPngButton* cancel_ = nullptr;
    CPngButton* apply_ = nullptr;

    // Single-key page.
    QLabel* singleLabel_ = nullptr;  // 1201
    QLineEdit* keyField_ = nullptr;  // 1127
    QCheckBox* keyboardChoice_ = nullptr;  // 1185
    QLabel* keyboardLabel_ = nullptr;      // 1134
    QCheckBox* mouseChoice_ = nullptr;     // 1186
    QLabel* mouseLabel_ = nullptr;         // 1135
    QComboBox* mouseList_ = nullptr;       // 1187

    // Macro page.
    QLabel* macroNameLabel_ = nullptr;    // 1200
    QLabel* cyclesLabel_ = nullptr;       // 1130
    QLabel* recordDelayLabel_ = nullptr;  // 1133
    QComboBox* macroList_ = nullptr;
    QLineEdit* cycles_ = nullptr;
    CReportCtrl* actions_ = nullptr;
    QCheckBox* recordDelay_ = nullptr;
    std::vector<std::pair<CPngButton*, const char*>> macroButtons_;

    // Multimedia and function pages.
    QLabel* mediaLabel_ = nullptr;     // 1202
    QComboBox* mediaList_ = nullptr;   // 1128
    QLabel* functionLabel_ = nullptr;  // 1203
    QComboBox* functionList_ = nullptr;  // 1129

    std::vector<std::pair<QWidget*, Page>> pageWidgets_;
    std::unique_ptr<MacroPage> macros_;
    std::unique_ptr<KeyHook> capture_;
};

}  // namespace zarvin
