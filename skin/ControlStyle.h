#pragma once

// The look of the plain controls that the skinned windows place over their pictures (edit
// boxes, drop-downs, lists, check boxes) and of the plain windows (message boxes, file and
// colour dialogs, menus): fields in the colours of the skin's scheme and its accent orange.
//
// The style sheet goes only to the widgets that hold plain controls (a dialog, a menu, a box,
// one control of the main window), never to the whole application: Qt keeps render rules, a
// palette and a font for every widget an application-wide sheet reaches, and the skinned
// windows are mostly pictures that need none.

#include "store/ColourScheme.h"

class QWidget;

namespace zarvin {

// The application's font and palette, and the tool tips' look, for `scheme` (a QApplication
// must exist); the sheet that StyleControls gives from now on.
void ApplyControlStyle(ColourScheme scheme);

// Give a widget and all inside it (its pop-ups and child windows too) the look of the scheme
// applied last; nothing before a scheme is applied.
// A window of plain controls: a dialog, a message box, a file or colour dialog, a pop-up.
void StyleControls(QWidget& window);
// One edit box or drop-down on a skinned window, with its pop-up list and context menu.
void StyleField(QWidget& field);
// A menu with its submenus.
void StyleMenu(QWidget& menu);

}  // namespace zarvin
