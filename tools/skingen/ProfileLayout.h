#pragma once

// Where everything of the profile dialog sits: the profile list, the add, load and delete
// buttons under it, and Apply, OK and Cancel. Listed in the order the dialog reads them.

#include <QRect>
#include <QSize>
#include <vector>

#include "Control.h"

namespace zarvin::skingen {

struct ProfileLayout {
    QSize size;
    QRect title;
    int dividerY = 0;
    std::vector<Control> controls;
};

ProfileLayout MakeProfileLayout();

}  // namespace zarvin::skingen
