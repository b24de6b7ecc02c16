#include "ProfilePainter.h"

#include <QPainter>

#include "ControlArt.h"
#include "Icons.h"
#include "Surfaces.h"
#include "Theme.h"

namespace zarvin::skingen {
namespace {

void Paint(QPainter& painter, const ProfileLayout& layout, Look buttonLook) {
    DrawWindowBody(painter, layout.size);
    const QRect title = layout.title;
    // The heading's words are the window's (CONTROL_TITLE), in the owner's language.
    DrawIcon(painter, Icon::Profiles, QRectF(title.left(), title.center().y() - 12, 24, 24),
             Colours().accent);
    DrawHorizontalDivider(painter, layout.dividerY, 24, layout.size.width() - 24);
    for (const Control& control : layout.controls) {
        DrawControl(painter, control, control.row == FaceRow::Set ? buttonLook : Look::Normal);
    }
}

}  // namespace

QImage PaintProfileBackground(const ProfileLayout& layout) {
    return PaintWindowPicture(layout.size, Shift::None,
                              [&](QPainter& painter) { Paint(painter, layout, Look::Normal); });
}

QImage PaintProfileImage(const ProfileLayout& layout, SetImage image) {
    const Look look = image == SetImage::Down ? Look::Sunken : LookInSet(image, false);
    return PaintWindowPicture(layout.size, Shift::FaceOrigin,
                              [&](QPainter& painter) { Paint(painter, layout, look); });
}

}  // namespace zarvin::skingen
