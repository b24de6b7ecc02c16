#pragma once

// The composite key editor's pictures: its background and the images of its five sets. Each
// set's images show the whole window with that set's page in the page area (the key set the
// single-key page, the macro sets the macro page, and so on); "macro2" is the set the editor
// uses in macro mode, with its own title.

#include <QImage>

#include "CompositeLayout.h"
#include "StateImage.h"

namespace zarvin::skingen {

enum class CompositeSet { Key, Macro, Macro2, Media, Function };

QImage PaintCompositeBackground(const CompositeLayout& layout);
QImage PaintCompositeImage(const CompositeLayout& layout, CompositeSet set, SetImage image);

}  // namespace zarvin::skingen
