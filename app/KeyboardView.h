#pragma once

// KeyboardView: the keyboard drawn as 116 image buttons of the main window (106 keys, G1-G9,
// Fn), the F-key/extra-key switch ("Flip") with its three buttons and arrow indicators, and the
// lock indicators. With the lighting switch off the buttons show which keys carry an
// assignment; with it on they show per-key colours as outlines (KeyColourButtons) and the
// lighting preview. What a click does is the main window's: the view reports it.

#include <QObject>
#include <QRect>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "control/KeyColourView.h"
#include "model/LightingPreview.h"
#include "skin/PngButton.h"

class QImage;

namespace zarvin {

class CBaseDialog;
class ConfiguratorCore;
class KeyOutlineLayer;
struct KeyButton;

// The main window's state surfaces (full-window images) that the key buttons cut faces from.
struct KeyFaceSet {
    const QImage* normal = nullptr;
    const QImage* over = nullptr;
    const QImage* down = nullptr;
    const QImage* disable = nullptr;
};

class KeyboardView : public QObject, public KeyColourButtons {
    Q_OBJECT

public:
    // `flipFaces` are the window's second face set, shown by the flip button for flip 1;
    // `arrows` the arrow indicator surface. All image objects outlive the view; the window may
    // release the face sets' pixels once SkinKeyButtons has placed the buttons, while the
    // arrows' stay (the indicators cut theirs as the flip changes).
    KeyboardView(CBaseDialog& window, ConfiguratorCore& core, const KeyFaceSet& keyFaces,
                 const KeyFaceSet& flipFaces, const QImage& arrows);
    ~KeyboardView() override;

    // Creates, places and skins every key button, G key, Fn, the flip buttons, the indicators
    // and the lock indicators from the main skin file; then ApplyFlip.
    void SkinKeyButtons();
    // Called with the control id of every click on a key button, G key or Fn.
    void SetKeyClickHandler(std::function<void(int controlId)> handler);

    // Selected look and tooltip of every key and G key from the active profile's records.
    void ShowAssignments();
    // The flip buttons' names in the current language (the keys' own come with ShowAssignments).
    void ApplyLanguage();
    void ApplyFlip();
    void ToggleFlip();

    // The record slot of a key button or G key (0-255, 256-264); nothing for Fn and others.
    static std::optional<int> SlotOfControl(int controlId);
    // The button's rectangle on the screen (for placing the key editor beside it).
    QRect ButtonScreenRect(int controlId) const;
    // The faces of a button being edited (hover, hover, pressed, normal, hover), and back.
    void ShowEditingFaces(int controlId);
    void RestoreKeyFaces(int controlId);

    // One lighting preview frame onto the key buttons.
    void ShowPreviewFrame(const PreviewColours& frame);

    CPngButton* Button(int controlId) const;

    // KeyColourButtons
    void ShowKeyColour(int controlId, ColourValue colour) override;
    void ClearKeyColour(int controlId) override;

    // The two face sets the panel's image buttons (report-rate buttons) share with the keys.
    const KeyFaceSet& KeyFaces() const { return keyFaces_; }
    // 0 or 1, as the setting "Flip" holds it.
    int FlipValue() const;

    // The key buttons (keys, G keys, Fn, D1-D6), in control-id order. The keyboard takes one
    // place in the window's Tab order: only the key that last had the focus takes it from Tab,
    // and the arrow keys move between the keys.
    std::vector<QWidget*> KeyWidgets() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Control ids of the view's buttons that are not keys.
    static constexpr int kLockCaps = 1125;
    static constexpr int kLockNum = 1126;
    static constexpr int kLockScroll = 1127;
    static constexpr int kLockAb = 1128;
    static constexpr int kFlipDisplay = 1129;
    static constexpr int kFlipLeft = 1130;
    static constexpr int kFlipRight = 1131;
    static constexpr int kLeftIndicator = 1132;
    static constexpr int kRightIndicator = 1133;
    static constexpr int kFirstFKey = 1010;  // F1-F4
    static constexpr int kFirstDKey = 1016;  // D1-D6
    static constexpr int kDKeyCount = 6;
    static constexpr int kF5 = 1014;
    static constexpr int kEnter = 1070;
    static constexpr int kKeyAboveEnter = 1055;

    static bool IsKeyControl(int controlId);
    void MakeFocusKey(CPngButton* key);
    void MoveFocus(CPngButton& from, int arrow);
    ButtonFaces KeyButtonFaces() const;
    ButtonFaces FlipDisplayFaces(bool flipped) const;
    // The key's own name: its key name, "G1"-"G9" or "Fn".
    std::string KeyButtonName(const KeyButton& key) const;
    CPngButton* AddButton(int controlId, std::string_view skinEntry, const ButtonFaces& faces);
    void AddIndicator(int controlId, std::string_view skinEntry);
    void RedrawLinked(CPngButton& button, bool normalFace);
    void UpdateIndicator(int controlId, std::string_view skinEntry, std::string_view side);
    void Update(int controlId) const;
    // The frames of the keys showing a colour, after those in `changed` changed theirs.
    void ShowOutlines(std::span<CPngButton* const> changed);

    CBaseDialog& window_;
    ConfiguratorCore& core_;
    KeyFaceSet keyFaces_;
    KeyFaceSet flipFaces_;
    const QImage& arrows_;
    std::map<int, CPngButton*> buttons_;
    std::function<void(int controlId)> clickHandler_;
    // The skin places D1-D6: they stand in for F1-F4 while flipped.
    bool dKeysShown_ = false;
    CPngButton* focusKey_ = nullptr;
    // The buttons that can show a colour, in KeyButtons() order, and the layer drawing their
    // frames (owned by the window).
    std::vector<CPngButton*> colourKeys_;
    KeyOutlineLayer* outlines_ = nullptr;
};

}  // namespace zarvin
