#include "MainPainter.h"

#include <QPainter>

#include "ControlArt.h"
#include "Icons.h"
#include "Scale.h"
#include "StateImage.h"
#include "Surfaces.h"
#include "Theme.h"

namespace zarvin::skingen {
namespace {

// The look a control shows in a picture, by its row of the main window's face assignment:
// keys and their kin take their selected face from the "disable" image, Apply its disabled
// face, the lock lights their selected face from the "over" image, FLIP_0 its selected face
// from "disable" and the link its pressed face from "disable".
Look LookIn(FaceRow row, MainImage image) {
    switch (image) {
        case MainImage::Background:
        case MainImage::Normal:
            return Look::Normal;
        case MainImage::Over:
            return row == FaceRow::Lock                                   ? Look::Selected
                   : row == FaceRow::FlipDisplay || row == FaceRow::Still ? Look::Normal
                                                                          : Look::Hover;
        case MainImage::Down:
            return row == FaceRow::Lock || row == FaceRow::FlipDisplay || row == FaceRow::Still ||
                           row == FaceRow::Link
                       ? Look::Normal
                       : Look::Pressed;
        case MainImage::Disable:
            switch (row) {
                case FaceRow::Key:
                case FaceRow::FlipDisplay:
                    return Look::Selected;
                case FaceRow::Link:
                    return Look::Pressed;
                case FaceRow::Command:
                case FaceRow::Apply:
                    return Look::Disabled;
                default:
                    return Look::Normal;
            }
    }
    return Look::Normal;
}

void DrawStill(QPainter& painter, const MainLayout& layout) {
    DrawWindowBody(painter, layout.size);
    DrawCard(painter, layout.keyboardCard);
    DrawCard(painter, layout.lightingCard);
    const int top = layout.lightingCard.top() + 18;
    const int bottom = layout.lightingCard.bottom() - 17;
    for (int x : layout.lightingDividers) {
        DrawVerticalDivider(painter, x, top, bottom);
    }
}

}  // namespace

QImage PaintMainWindow(const MainLayout& layout, MainImage image) {
    const bool background = image == MainImage::Background;
    const Shift shift = background ? Shift::None : Shift::FaceOrigin;
    // A state image carries the strip of faces that lie away from their controls' places.
    const QSize size = background ? layout.size
                                  : layout.size + QSize(0, layout.faceStripHeight);
    return PaintWindowPicture(size, shift, [&](QPainter& painter) {
        DrawStill(painter, layout);
        if (!background) {
            // The strip's ground is the keyboard card's, so that the caps' corners match.
            painter.fillRect(QRect(0, layout.size.height(), layout.size.width(),
                                   layout.faceStripHeight + 1),
                             Colours().card);
        }
        for (const Control& control : layout.controls) {
            if (!control.faceOrigin) {
                DrawControl(painter, control, LookIn(control.row, image));
            } else if (!background) {
                Control atFace = control;
                atFace.rect.moveTopLeft(*control.faceOrigin);
                painter.fillRect(atFace.rect, Colours().card);
                atFace.rect = atFace.rect.marginsRemoved(control.faceInset);
                DrawControl(painter, atFace, LookIn(control.row, image));
            }
        }
    });
}

QImage PaintArrowImage(const MainLayout& layout) {
    QImage image = NewPicture(layout.arrowImageSize);
    image.fill(Colours().card);
    QPainter painter(&image);
    for (const LayoutRect& origin : layout.arrowOrigins) {
        const bool up = origin.key.rfind("UP_", 0) == 0;
        const QRectF cell(origin.rect.translated(-1, -1));
        DrawIcon(painter, up ? Icon::TriangleUp : Icon::TriangleDown, cell, Colours().textSecondary);
    }
    return image;
}

}  // namespace zarvin::skingen
