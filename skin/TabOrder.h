#pragma once

// The Tab order of a skinned window: its controls are placed by the skin, not by a layout, so
// the order they were made in says nothing. OrderTabsByLayout chains the window's own controls
// that take the focus from Tab in reading order: rows from top to bottom (a control belongs to
// the row whose first control its middle lies beside), each row from left to right. A group
// (the keyboard view's keys) takes one place, at the rectangle around its members, and keeps
// its members' order inside it.

#include <QRect>
#include <cstddef>
#include <vector>

class QWidget;

namespace zarvin {

// The reading order of `places` as indices into it.
std::vector<size_t> ReadingOrder(const std::vector<QRect>& places);

void OrderTabsByLayout(QWidget& window, const std::vector<std::vector<QWidget*>>& groups = {});

}  // namespace zarvin
