#include "skin/TabOrder.h"

#include <QWidget>
#include <algorithm>
#include <numeric>
#include <set>

namespace zarvin {

std::vector<size_t> ReadingOrder(const std::vector<QRect>& places) {
    std::vector<size_t> byTop(places.size());
    std::iota(byTop.begin(), byTop.end(), size_t{0});
    std::stable_sort(byTop.begin(), byTop.end(), [&](size_t a, size_t b) {
        return places[a].top() < places[b].top();
    });
    std::vector<size_t> order;
    order.reserve(places.size());
    size_t rowStart = 0;
    while (rowStart < byTop.size()) {
        const QRect& first = places[byTop[rowStart]];
        size_t rowEnd = rowStart + 1;
        while (rowEnd < byTop.size() && places[byTop[rowEnd]].center().y() <= first.bottom()) {
            ++rowEnd;
        }
        std::vector<size_t> row(byTop.begin() + static_cast<std::ptrdiff_t>(rowStart),
                                byTop.begin() + static_cast<std::ptrdiff_t>(rowEnd));
        std::stable_sort(row.begin(), row.end(), [&](size_t a, size_t b) {
            return places[a].left() < places[b].left();
        });
        order.insert(order.end(), row.begin(), row.end());
        rowStart = rowEnd;
    }
    return order;
}

void OrderTabsByLayout(QWidget& window, const std::vector<std::vector<QWidget*>>& groups) {
    std::set<const QWidget*> grouped;
    std::vector<std::vector<QWidget*>> items;
    std::vector<QRect> places;
    for (const std::vector<QWidget*>& group : groups) {
        QRect around;
        for (QWidget* member : group) {
            grouped.insert(member);
            around = around.united(member->geometry());
        }
        if (!group.empty()) {
            items.push_back(group);
            places.push_back(around);
        }
    }
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && (child->focusPolicy() & Qt::TabFocus) &&
            !grouped.contains(child)) {
            items.push_back({child});
            places.push_back(child->geometry());
        }
    }
    QWidget* previous = nullptr;
    for (const size_t item : ReadingOrder(places)) {
        for (QWidget* widget : items[item]) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
        }
    }
}

}  // namespace zarvin
