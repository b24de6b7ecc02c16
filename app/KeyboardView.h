#pragma once

// KeyboardView: the keyboard drawn as 116 image buttons of the main window (106 keys, G1-G9,
// Fn), the F-key/extra-key switch ("Flip") with its three buttons and arrow indicators, and the
// lock indicators. With the lighting switch off the buttons show which keys carry an
// assignment; with it on they show per-key colours as outlines (KeyColourButtons) and the
// lighting preview. What a click does is the main window's: the view reports it.
//
// PUBLIC SURFACE (fixed; the main window uses it). Everything below `private:` is the
// implementer's.

#include <QObject>
#include <QRect>
#include <functional>
#include <optional>

#include "model/KeyColourView.h"
#include "model/LightingPreview.h"

class QImage;

namespace zarvin {

class CBaseDialog;
class CPngButton;
class ConfiguratorCore;

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
    // `arrows` the arrow indicator surface. All images outlive the view.
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

private:
};

}  // namespace zarvin
