#pragma once

// The look of the plain controls that the skinned windows place over their pictures (edit
// boxes, drop-downs, lists, check boxes): dark fields and the accent orange of the skin, for
// the whole application.

class QApplication;

namespace zarvin {

void ApplyControlStyle(QApplication& application);

}  // namespace zarvin
