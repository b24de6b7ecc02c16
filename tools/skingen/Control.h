#pragma once

// One control of a skinned window as the generator sees it: its skin entry and rectangle, the
// row of the window's face assignment it follows (which decides its look in each state image),
// and what is drawn for it.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <string>

#include "Icons.h"
#include "Look.h"

namespace zarvin {
struct KeyButton;
}

namespace zarvin::skingen {

// What the pictures show at a control's place.
enum class Art {
    Nothing,      // the window draws it (labels, sliders, colour buttons) or it stays hidden
    Keycap,       // a key of the on-screen keyboard
    Button,       // a framed button: baked label and/or icon, or blank for text the window writes
    IconButton,   // an icon without a frame
    Well,         // the recess an edit box, combo box or list sits in
    LockLight,    // a lock indicator: a light and its name
    FlipDisplay,  // which keys the top row offers: F1-F4 or D1-D6
    Brand,        // the program's name, a link to its home page
    Title,        // a window title drawn into the picture
};

// The rows of the windows' face assignments that decide a control's look per state image.
enum class FaceRow {
    None,         // not an image button
    Key,          // main: keys, G keys, profile, default, report-rate, Fn, FLIP_1, FLIP_2
    Command,      // main: window buttons, profiles, macro, OK, Cancel
    Apply,        // main: CONTROL2_APPLY (its disabled face is the "disable" image)
    Lock,         // main: lock indicators (their selected face is the "over" image)
    FlipDisplay,  // main: FLIP_0 (its selected face is the "disable" image)
    Link,         // main: PELLOQ_LINK (its pressed face is the "disable" image)
    Still,        // drawn the same in every image (PELLOQ_VER, titles)
    Set,          // composite and profile: normal, over, down, disable of the set
};

struct Control {
    std::string entry;
    QRect rect;
    FaceRow row = FaceRow::None;
    Art art = Art::Nothing;
    QString label;
    std::optional<Icon> icon;
    // Art::Button without a label: the window writes the caption in the owner's language (see
    // skin/CaptionStyle.h), and an icon keeps to the left end to leave it room.
    bool windowCaption = false;
    const KeyButton* key = nullptr;  // Art::Keycap; without one, `label` is its legend
    QRect topBar;                    // Art::Keycap, ISO Enter only
    // Where the state images hold the faces ("BUTTONINFO2") when that is not the control's own
    // place: a control sharing its place with others (D1-D6 over F1-F4).
    std::optional<QPoint> faceOrigin;
    // Such a face covers its whole place, so that nothing of what lies under it shows: the art
    // is drawn inset by these margins, the rest in the ground's colour.
    QMargins faceInset;
};

}  // namespace zarvin::skingen
