#pragma once

// The look of the plain controls that the skinned windows place over their pictures (edit
// boxes, drop-downs, lists, check boxes): fields in the colours of the skin's scheme and its
// accent orange, for the whole application.

#include "store/ColourScheme.h"

class QApplication;

namespace zarvin {

void ApplyControlStyle(QApplication& application, ColourScheme scheme);

}  // namespace zarvin
