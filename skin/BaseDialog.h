#pragma once

// CBaseDialog: the base of every skinned window. The window has no frame; it is as large as its
// background picture ("SCREEN" "Main" of its skin file), and its outline follows the non-white
// pixels of its mask picture ("SCREEN" "Mask", or the background when there is none; see
// skin/OutlineRegion.h). The user drags it by any point of the background that no control takes.
// Picture names are relative to the skin file's folder; a picture that cannot be read ends the
// process (skin/PictureLoader.h).
//
// The skin is applied each time the window is about to be shown for the first time since it was
// built or since it last ended with done() (accept, reject), so a dialog shown again and again
// loads its skin anew each time. The derived window then places its controls in InitDialog().
// Hiding and showing the window again does not apply the skin again.

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <filesystem>
#include <optional>

namespace zarvin {

class CBaseDialog : public QDialog {
    Q_OBJECT

public:
    // `skinFile` and `skinFolder` name the dark skin; the window reads the one of the colour
    // scheme in use (ColourSchemeLook).
    CBaseDialog(std::filesystem::path skinFile, std::filesystem::path skinFolder,
                QWidget* parent = nullptr);

    const std::filesystem::path& SkinFile() const { return skinFile_; }
    const std::filesystem::path& SkinFolder() const { return skinFolder_; }
    // Null before the skin is applied and after the window has ended.
    const QImage& Background() const { return background_; }

    void setVisible(bool visible) override;
    void done(int result) override;

protected:
    // Runs after the skin has been applied (window size, background, outline) and before the
    // window shows; derived windows load their state images and place their controls here.
    virtual void InitDialog() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplySkin();

    std::filesystem::path skinFile_;
    std::filesystem::path skinFolder_;
    QImage background_;
    bool initialised_ = false;
    // Where the pointer grabbed the window, when the platform cannot move it itself.
    std::optional<QPoint> dragOffset_;
};

}  // namespace zarvin
