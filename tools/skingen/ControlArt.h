#pragma once

// Draws one control's art (Control::art) in a given look.

#include "Control.h"

class QPainter;

namespace zarvin::skingen {

void DrawControl(QPainter& painter, const Control& control, Look look);

}  // namespace zarvin::skingen
