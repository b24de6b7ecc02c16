#include "CompositePainter.h"

#include <QPainter>

#include "ControlArt.h"
#include "Icons.h"
#include "Surfaces.h"
#include "Theme.h"

namespace zarvin::skingen {
namespace {

CompositePage PageOf(CompositeSet set) {
    switch (set) {
        case CompositeSet::Key:
            break;
        case CompositeSet::Macro:
        case CompositeSet::Macro2:
            return CompositePage::Macro;
        case CompositeSet::Media:
            return CompositePage::Media;
        case CompositeSet::Function:
            return CompositePage::Function;
    }
    return CompositePage::Key;
}

// A quiet picture in the empty part of the pages that hold a single drop-down list.
void DrawPageIllustration(QPainter& painter, const CompositeLayout& layout, CompositePage page) {
    if (page != CompositePage::Media && page != CompositePage::Function) {
        return;
    }
    const QRect area = layout.pageArea;
    const QRectF box(area.right() - 176, area.top() + 64, 136, 136);
    DrawIcon(painter, page == CompositePage::Media ? Icon::Play : Icon::Gear, box,
             Colours().illustration);
}

void Paint(QPainter& painter, const CompositeLayout& layout, CompositeSet set, SetImage image) {
    const CompositePage page = PageOf(set);
    DrawWindowBody(painter, layout.size);
    DrawCard(painter, layout.pageArea);
    DrawPageIllustration(painter, layout, page);
    for (const CompositeControl& item : layout.controls) {
        if (item.page != CompositePage::All && item.page != page) {
            continue;
        }
        Control control = item.control;
        // The window writes the title (it names the key being edited).
        if (control.art == Art::Title) {
            continue;
        }
        const bool record = control.entry == "FUNC_MACRO_RECORD";
        const Look look = LookInSet(image, item.pageButton || record);
        // The record button's selected face shows that recording runs and how to stop it (the
        // window writes the word).
        if (record && look == Look::Selected) {
            control.icon = Icon::Stop;
        }
        DrawControl(painter, control, look);
    }
}

}  // namespace

QImage PaintCompositeBackground(const CompositeLayout& layout) {
    return PaintWindowPicture(layout.size, Shift::None, [&](QPainter& painter) {
        Paint(painter, layout, CompositeSet::Key, SetImage::Normal);
    });
}

QImage PaintCompositeImage(const CompositeLayout& layout, CompositeSet set, SetImage image) {
    return PaintWindowPicture(layout.size, Shift::FaceOrigin,
                              [&](QPainter& painter) { Paint(painter, layout, set, image); });
}

}  // namespace zarvin::skingen
