#pragma once

// The profile dialog's pictures: its background and its three state images. Its pressed image
// also serves as its buttons' disabled face, so pressed buttons sink without the accent.

#include <QImage>

#include "ProfileLayout.h"
#include "StateImage.h"

namespace zarvin::skingen {

QImage PaintProfileBackground(const ProfileLayout& layout);
QImage PaintProfileImage(const ProfileLayout& layout, SetImage image);

}  // namespace zarvin::skingen
