#pragma once

// The pictures of a skinned window. The background is the window as it first appears; a state
// image shows every image button in one look, drawn one pixel up and to the left, because a
// button's face is cut from its state image at its own position less one pixel. So a face lines
// up exactly with the background around the button.

#include <QImage>
#include <QSize>
#include <functional>

#include "Look.h"

class QPainter;

namespace zarvin::skingen {

enum class Shift { None, FaceOrigin };

// The images of one set of the editors: normal, over, down and disable.
enum class SetImage { Normal, Over, Down, Disable };

// The look a button takes in an image of its set. A button that stays selected (a page
// button, the record button while recording) shows its selected look in the "down" image,
// which is its selected face.
Look LookInSet(SetImage image, bool selectable);

// A picture of `size` drawn by `draw`, moved by (-1, -1) for Shift::FaceOrigin.
QImage PaintWindowPicture(QSize size, Shift shift, const std::function<void(QPainter&)>& draw);

}  // namespace zarvin::skingen
