#include "skin/BaseDialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWindow>
#include <string>
#include <utility>

#include "skin/ColourSchemeLook.h"
#include "skin/OutlineRegion.h"
#include "skin/PictureLoader.h"
#include "skin/SkinAccessibility.h"
#include "skin/SkinIniFile.h"

namespace zarvin {

namespace {

// Qt reads an empty mask as "no mask"; a mask that leaves nothing of the window visible is a
// single pixel outside it.
const QRegion kNothingVisible(-1, -1, 1, 1);

}  // namespace

CBaseDialog::CBaseDialog(std::filesystem::path skinFile, std::filesystem::path skinFolder,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      skinFile_(SkinFileInUse(skinFile)),
      skinFolder_(SkinFolderInUse(skinFolder)) {
    InstallSkinAccessibility();
}

void CBaseDialog::setVisible(bool visible) {
    if (visible && !initialised_) {
        initialised_ = true;
        ApplySkin();
        InitDialog();
    }
    QDialog::setVisible(visible);
}

void CBaseDialog::done(int result) {
    QDialog::done(result);
    background_ = QImage();
    initialised_ = false;
}

void CBaseDialog::ApplySkin() {
    const CIniFile reader(skinFile_);
    const std::string main = reader.GetString("SCREEN", "Main", "").value_or("");
    const std::string mask = reader.GetString("SCREEN", "Mask", main).value_or("");
    // A missing name reads as the folder itself, which no picture reader accepts.
    background_ = LoadSkinPicture(skinFolder_ / std::filesystem::path(main).relative_path());
    QImage maskPicture = LoadSkinPicture(skinFolder_ / std::filesystem::path(mask).relative_path());
    if (!background_.isNull()) {
        setFixedSize(background_.deviceIndependentSize().toSize());
    }
    // Kept while the window lives: an opaque one in three bytes a pixel, drawn the same.
    if (background_.format() == QImage::Format_RGB32) {
        background_.convertTo(QImage::Format_RGB888);
    }
    // The outline is made in the window's own coordinates.
    if (!maskPicture.isNull() && maskPicture.devicePixelRatio() != 1.0) {
        maskPicture = maskPicture.scaled(maskPicture.deviceIndependentSize().toSize());
    }
    if (maskPicture.isNull()) {
        clearMask();
        return;
    }
    const QRegion outline = OutlineRegion(maskPicture);
    setMask(outline.isEmpty() ? kNothingVisible : outline);
}

void CBaseDialog::paintEvent(QPaintEvent* /*event*/) {
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), background_);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const bool platformMoves = windowHandle() != nullptr && windowHandle()->startSystemMove();
        if (!platformMoves) {
            dragOffset_ = event->globalPosition().toPoint() - pos();
        }
    }
    QDialog::mousePressEvent(event);
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragOffset_.reset();
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace zarvin
